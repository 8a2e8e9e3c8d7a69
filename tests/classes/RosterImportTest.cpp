// Importing students from a roster file: the reader over encodings,
// separators, headings and quoting, one school's file imported into a class
// byte for byte (and again, adding nobody), the made-up passwords, and the
// roster left whole when the write fails.
#include <gtest/gtest.h>

#include <filesystem>

#include <set>

#include "classes/RosterImport.h"
#include "data/ClassFiles.h"
#include "support/core/Builders.h"
#include "support/core/CountingRandom.h"
#include "support/core/FaultyFolder.h"
#include "support/core/TempFolder.h"

namespace quillon {
namespace {

using testing::ClassRec;
using testing::CountingRandom;
using testing::StudentRec;
using testing::TempFolder;

// `text` as UTF-16 with its byte-order mark.
std::string Utf16(std::u16string_view text, bool little_endian) {
  std::string bytes = little_endian ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t u : text) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    bytes += little_endian ? std::string{lo, hi} : std::string{hi, lo};
  }
  return bytes;
}

// The preview of `bytes` for an empty class 1, one line per row.
std::string Preview(std::string_view bytes, std::vector<std::string> roster = {}) {
  RosterTable table;
  Status s = ParseRosterText(bytes, "roster.csv", &table);
  if (!s.ok()) return "error: " + s.ToString();
  CountingRandom random;
  ImportPreview preview;
  s = PlanImport(table, 1, roster, random, &preview);
  if (!s.ok()) return "error: " + s.ToString();
  std::string lines;
  for (const ImportRow& row : preview.rows) lines += PreviewLine(row) + "\n";
  return lines;
}

TEST(RosterReaderTest, EncodingsSeparatorsHeadingsAndQuoting) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string preview;
  } cases[] = {
      {"UTF-8 with its mark, comma, CR LF; a given password in capitals, a missing one made up",
       "\xEF\xBB\xBFName,Password\r\nAnn Lee,ab12\r\nBob Stone,\r\n",
       "2\tAnn Lee\tAB12\t1\tadd\t\n3\tBob Stone\tABCDEF\t2\tadd\t\n"},
      {"UTF-16LE, tab, given name and surname joined, accents kept",
       Utf16(u"Given name\tSurname\tPIN\r\nJos\u00e9\tM\u00fcller\t7\r\n", true),
       "2\tJos\xE9 M\xFCller\t7\t1\tadd\t\n"},
      {"UTF-16BE; a name of another script cannot be stored, and says which letters",
       Utf16(u"student\n\u738b\u82b3\nZo\u00eb\n", false),
       "2\t??\t\t\tcannot be stored\tU+738B, U+82B3 cannot be stored\n"
       "3\tZo\xEB\tABCDEF\t1\tadd\t\n"},
      {"Windows-1252, semicolon: an accent kept, a curly apostrophe written straight",
       "FULL NAME;pin\nRen\xE9"
       "e Dubois;x9\nO\x92"
       "Brien;\n",
       "2\tRen\xE9"
       "e Dubois\tX9\t1\tadd\t\n3\tO'Brien\tABCDEF\t2\tadd\tU+2019 written as '\n"},
      {"no heading: the first column is the name; quotes around a comma and doubled; 21 kept",
       "\"Smith, Ann\",x1\n\"Dwayne \"\"Rock\"\" Johnson\",x2\n",
       "1\tSmith, Ann\tABCDEF\t1\tadd\t\n2\tDwayne \"Rock\" Johnson\tGHJKLM\t2\tadd\t\n"},
      {"a line break inside quotes; blank lines skipped; line numbers of the file",
       "Name\n\n\"Ann\nLee\"\n  \n,\nBob\n",
       "3\tAnn?Lee\t\t\tcannot be stored\ta line break cannot be stored\n"
       "7\tBob\tABCDEF\t1\tadd\t\n"},
      {"names cut to 21 and marked; the second with the same stored name is skipped; no name",
       "Name,Password\nAlexandrina Konstantinopoulou,ABCDEFG\n,AB\n"
       "Alexandrina Konstantinopoulos,\n",
       "2\tAlexandrina Konstanti (cut)\tABCDEF\t1\tadd\t\n3\t\t\t\tno name\t\n"
       "4\tAlexandrina Konstanti (cut)\t\t\talready in this class\t\n"},
      {"CR line ends, tab; a control character cannot be stored",
       "Name\tPIN\rAnn\t12345\rB\x01ob\t1\r",
       "2\tAnn\t12345\t1\tadd\t\n3\tB?ob\t\t\tcannot be stored\ta control character cannot be "
       "stored\n"},
      {"the password column first", "PIN,Pupil\n1234,Kim\n", "2\tKim\t1234\t1\tadd\t\n"},
      {"passwords kept only as 1 to 6 letters and digits, blanks around them trimmed",
       "Student name,Password\nA,\xC3\xA9"
       "1\nB,12 34\nC, ab \n",
       "2\tA\tABCDEF\t1\tadd\t\n3\tB\tGHJKLM\t2\tadd\t\n4\tC\tAB\t3\tadd\t\n"},
      {"semicolons on every line beat commas inside the names",
       "Last name;First_Name;PIN\nSmith, Jr.;Ann;12\nLee;Bo;34\n",
       "2\tAnn Smith, Jr.\t12\t1\tadd\t\n3\tBo Lee\t34\t2\tadd\t\n"},
      {"a heading of first names only, a surname missing on a row",
       "First Name\tFamily-Name\nAnn\t\n", "2\tAnn\tABCDEF\t1\tadd\t\n"},
      {"\"Last name, First name\" in one column; the class and number columns left out",
       "No.,\"Last name, First name\",Class,Period\n1,\"Smith, Ann\",5B,3\n2,Lee,5B,3\n",
       "2\tAnn Smith\tABCDEF\t1\tadd\t\n3\tLee\tGHJKLM\t2\tadd\t\n"},
      {"Spanish, German and Dutch headings, accents and case ignored",
       "APELLIDOS;Nombre;Contrase\xC3\xB1"
       "a\nGarc\xC3\xAD"
       "a L\xC3\xB3pez;Luc\xC3\xAD"
       "a;lg7\n",
       "2\tLuc\xED"
       "a Garc\xED"
       "a L\xF3pez\tLG7\t1\tadd\t\n"},
      {"German, a pupil number left out",
       "Nachname,Vorname,Sch\xC3\xBClernummer\nM\xC3\xBCller,J\xC3\xB6rg,881\n",
       "2\tJ\xF6rg M\xFCller\tABCDEF\t1\tadd\t\n"},
      {"Dutch, with passwords", "Voornaam\tAchternaam\tWachtwoord\nDaan\tde Vries\tdv1\n",
       "2\tDaan de Vries\tDV1\t1\tadd\t\n"},
      {"letters beyond the single-byte ones written as the nearest, each said once",
       "Name\nAy\xC5\x9F"
       "e \xC5\x9E"
       "ahin\n\xC5\x81ukasz \xC5\xBB\xC3\xB3\xC5\x82w\n\xC5\x92"
       "dipe\n",
       "2\tAyse Sahin\tABCDEF\t1\tadd\tU+015F written as s, U+015E written as S\n"
       "3\tLukasz Z\xF3lw\tGHJKLM\t2\tadd\tU+0141 written as L, U+017B written as Z, U+0142 "
       "written as l\n"
       "4\tOEdipe\tNPQRST\t3\tadd\tU+0152 written as OE\n"},
      {"a \"?\" a spreadsheet left for a lost letter is added and marked",
       "Name\nTh? Nguy?n\nWang \xE8\x8A\xB3\n",
       "2\tTh? Nguy?n\tABCDEF\t1\tadd\ta letter may be lost\n"
       "3\tWang ?\t\t\tcannot be stored\tU+82B3 cannot be stored\n"},
      {"not text", std::string("Name\nAnn\0Lee\n", 13),
       "error: roster.csv: is not a text file; save the spreadsheet as CSV or as text and "
       "import that file"},
  };
  for (const Case& c : cases) EXPECT_EQ(Preview(c.bytes), c.preview) << c.what;
}

TEST(RosterReaderTest, AFullClassTakesItsLastFreeNumberThenSkips) {
  std::vector<std::string> roster;
  for (int n = 1; n <= 99; ++n) {
    if (n != 42) roster.push_back(StudentRec("S" + std::to_string(n), std::to_string(n), "1"));
  }
  EXPECT_EQ(Preview("Name\nAnn\nBob\n", roster),
            "2\tAnn\tABCDEF\t42\tadd\t\n3\tBob\t\t\tclass is full\t\n");
}

TEST(RosterReaderTest, FilesOverTheLimitsAreRefusedNamingThem) {
  std::string rows = "Name\n";
  for (int i = 0; i < 9999; ++i) rows += "S" + std::to_string(i) + "\n";
  RosterTable table;
  EXPECT_TRUE(ParseRosterText(rows, "big.csv", &table).ok());
  EXPECT_EQ(table.rows.size(), 10000u);
  Status s = ParseRosterText(rows + "One more\n", "big.csv", &table);
  EXPECT_EQ(s.ToString(),
            "big.csv: holds more than 10,000 rows; a class holds at most 99 students");

  TempFolder dir;
  const std::string big = dir.path() + "/big.csv";
  dir.Write("big.csv", std::string(kMaxRosterFileBytes + 1, 'a'));
  std::string bytes;
  EXPECT_EQ(ReadRosterFile(big, &bytes).ToString(),
            big + ": is larger than 10 MB; a roster file holds at most 10,000 rows");
  EXPECT_EQ(ReadRosterFile(dir.path() + "/none.csv", &bytes).ToString(),
            dir.path() + "/none.csv: there is no such file");
  EXPECT_EQ(ReadRosterFile(dir.path(), &bytes).ToString(),
            dir.path() + ": is not an ordinary file");
  dir.Write("ok.csv", "Name\nAnn\n");
  EXPECT_TRUE(ReadRosterFile(dir.path() + "/ok.csv", &bytes).ok());
  EXPECT_EQ(bytes, "Name\nAnn\n");
}

// One school's export into class 2, which holds students 1 and 3 already
// (student 2 of class 1 is another class's).
class SchoolFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write(kClassesFile,
              ClassRec("Grade 5 Maths", "060", "2") + ClassRec("Algebra", "070", "1"));
    dir.Write(kStudentsFile, kRoster);
  }
  ImportPreview Preview() {
    RosterTable table;
    EXPECT_TRUE(ParseRosterText(kFile, "school.csv", &table).ok());
    ImportPreview preview;
    EXPECT_TRUE(BuildImportPreview(dir.folder(), table, 2, random, &preview).ok());
    return preview;
  }
  static std::string Lines(const ImportPreview& preview) {
    std::string lines;
    for (const ImportRow& row : preview.rows) lines += PreviewLine(row) + "\n";
    return lines;
  }

  const std::string kRoster = StudentRec("Maria Gonzalez", "1", "2", "KLMNOP") +  // ABCDEF
                              StudentRec("Tom Brown", "2", "1", "") +
                              StudentRec("Li Wei", "3", "2", "<=>?@A");  // 234567
  const std::string kFile =
      "\xEF\xBB\xBFSurname;First name;PIN\r\n"
      "Gonzalez;Maria;\r\n"
      "Brown;Tom;tb22\r\n"
      "\"O'Neil\";Siobh\xC3\xA1n;\r\n"
      "\r\n"
      "Papadopoulos-Konstantinou;Alexandra;ak1\r\n"
      ";;99\r\n"
      "Nguyen;Thi Thu;\r\n";
  TempFolder dir;
  CountingRandom random;
};

TEST_F(SchoolFileTest, PreviewThenOneWriteOfTheStudentDialogsRecords) {
  ImportPreview preview = Preview();
  // The first made-up password, ABCDEF, is Maria's already: the next is taken.
  EXPECT_EQ(Lines(preview),
            "2\tMaria Gonzalez\t\t\talready in this class\t\n"
            "3\tTom Brown\tTB22\t2\tadd\t\n"
            "4\tSiobh\xE1n O'Neil\tGHJKLM\t4\tadd\t\n"
            "6\tAlexandra Papadopoulo (cut)\tAK1\t5\tadd\t\n"
            "7\t\t\t\tno name\t\n"
            "8\tThi Thu Nguyen\tNPQRST\t6\tadd\t\n");
  EXPECT_EQ(preview.Added(), 4);
  EXPECT_EQ(preview.Skipped(), 2);
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster) << "nothing is written by the preview";

  int added = 0;
  ASSERT_TRUE(FileImportStudents(dir.folder(), preview, &added).ok());
  EXPECT_EQ(added, 4);
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster +
                                         "Tom Brown            2 2 ^L<<  "
                                         "Siobh\xE1n O'Neil       4 2 QRTUVW"
                                         "Alexandra Papadopoulo5 2 KU;   "
                                         "Thi Thu Nguyen       6 2 XZ[\\]^");

  // The same file again adds nobody.
  ImportPreview again = Preview();
  EXPECT_EQ(Lines(again),
            "2\tMaria Gonzalez\t\t\talready in this class\t\n"
            "3\tTom Brown\t\t\talready in this class\t\n"
            "4\tSiobh\xE1n O'Neil\t\t\talready in this class\t\n"
            "6\tAlexandra Papadopoulo (cut)\t\t\talready in this class\t\n"
            "7\t\t\t\tno name\t\n"
            "8\tThi Thu Nguyen\t\t\talready in this class\t\n");
  const std::string before = dir.Read(kStudentsFile);
  ASSERT_TRUE(FileImportStudents(dir.folder(), again, &added).ok());
  EXPECT_EQ(added, 0);
  EXPECT_EQ(dir.Read(kStudentsFile), before);
}

TEST_F(SchoolFileTest, NothingIsWrittenWhenTheClassOrTheRosterChangedMeanwhile) {
  ImportPreview preview = Preview();
  const std::string stray = "part";  // a stray partial record at the end
  dir.Write(kStudentsFile, kRoster + StudentRec("Tom Brown", "2", "2", "") + stray);
  int added = -1;
  EXPECT_EQ(FileImportStudents(dir.folder(), preview, &added).ToString(),
            "STUDENTS.DAT: the class's roster has changed since the preview; nobody was added");
  EXPECT_EQ(added, 0);
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster + StudentRec("Tom Brown", "2", "2", "") + stray);

  dir.Write(kClassesFile, ClassRec("Algebra", "070", "1"));
  dir.Write(kStudentsFile, kRoster);
  EXPECT_EQ(FileImportStudents(dir.folder(), preview, &added).ToString(),
            "CLASSES.DAT: class 2 is not there any more; nobody was added");
  EXPECT_EQ(dir.Read(kStudentsFile), kRoster);
}

// A failure at any step of the write leaves the roster as it was, the stray
// partial record at its end included, or (once all are on disk) all added.
TEST_F(SchoolFileTest, AFailureAtAnyStepLeavesTheRosterWhole) {
  ImportPreview preview = Preview();
  const std::string before = kRoster + "part";
  const std::string after = kRoster +
                            "Tom Brown            2 2 ^L<<  "
                            "Siobh\xE1n O'Neil       4 2 QRTUVW"
                            "Alexandra Papadopoulo5 2 KU;   "
                            "Thi Thu Nguyen       6 2 XZ[\\]^";
  for (int k = 1;; ++k) {
    // Each fault in a folder of its own: a journal left by the one before
    // would, rightly, be completed on this copy of the old roster.
    dir.Write(kStudentsFile, before);
    std::filesystem::remove(dir.path() + "/STUDENTS.TMP");
    testing::FaultyFolder faulty(&dir.folder(), k, testing::FaultyFolder::Mode::kFail);
    int added = -1;
    Status s = FileImportStudents(faulty, preview, &added);
    if (!faulty.faulted()) {
      EXPECT_TRUE(s.ok()) << s.ToString();
      EXPECT_EQ(dir.Read(kStudentsFile), after);
      EXPECT_GT(k, 4);
      break;
    }
    // A fault once every record is on disk (clearing the journal) does not
    // undo the addition, nor report it as failed.
    EXPECT_EQ(dir.Read(kStudentsFile), s.ok() ? after : before) << "fault at operation " << k;
    if (!s.ok()) {
      EXPECT_EQ(added, 0);
    }
  }
}

// Three schools' systems export their class lists as they are: with a
// number column and "Last"/"First" headings, in French from Windows, and as
// UTF-16 "Surname"/"Forename" with passwords. Imported in turn into one
// class: no heading row and no number becomes a student, every first name is
// kept, and each letter the roster cannot hold is written as its nearest.
TEST(SchoolSystemsTest, ThreeSchoolFilesImportAsTheyAreByteForByte) {
  TempFolder dir;
  dir.Write(kClassesFile, ClassRec("Year 7 Maths", "060", "1"));
  CountingRandom random;
  const std::string files[] = {
      "Student ID,Last,First\r\n10231,Y\xC4\xB1lmaz,Ay\xC5\x9F"
      "e\r\n10232,\xC3\x96zt\xC3\xBCrk,Mehmet\r\n",
      "Nom;Pr\xE9nom\r\nDupont;L\xE9"
      "a\r\nNguy?n;Th?\r\n",
      Utf16(u"Surname\tForename\tPIN\r\nO\u2019Brien\tSe\u00e1n\tsob1\r\nWang\t\u82b3\t\r\n", true),
  };
  const std::string previews[] = {
      "2\tAyse Yilmaz\tABCDEF\t1\tadd\tU+015F written as s, U+0131 written as i\n"
      "3\tMehmet \xD6zt\xFCrk\tGHJKLM\t2\tadd\t\n",
      "2\tL\xE9"
      "a Dupont\tNPQRST\t3\tadd\t\n"
      "3\tTh? Nguy?n\tUVWXYZ\t4\tadd\ta letter may be lost\n",
      "2\tSe\xE1n O'Brien\tSOB1\t5\tadd\tU+2019 written as '\n"
      "3\t? Wang\t\t\tcannot be stored\tU+82B3 cannot be stored\n",
  };
  for (int f = 0; f < 3; ++f) {
    RosterTable table;
    ASSERT_TRUE(ParseRosterText(files[f], "school.csv", &table).ok());
    ImportPreview preview;
    ASSERT_TRUE(BuildImportPreview(dir.folder(), table, 1, random, &preview).ok());
    std::string lines;
    for (const ImportRow& row : preview.rows) lines += PreviewLine(row) + "\n";
    EXPECT_EQ(lines, previews[f]) << "file " << f + 1;
    EXPECT_TRUE(preview.columns.recognised) << "file " << f + 1;
    ASSERT_TRUE(FileImportStudents(dir.folder(), preview, nullptr).ok());
  }
  EXPECT_EQ(dir.Read(kStudentsFile),
            "Ayse Yilmaz          1 1 KLMNOP"
            "Mehmet \xD6zt\xFCrk        2 1 QRTUVW"
            "L\xE9"
            "a Dupont           3 1 XZ[\\]^"
            "Th? Nguy?n           4 1 _`abcd"
            "Se\xE1n O'Brien         5 1 ]YL;  ");
}

// A heading row in a language not recognised: the window and the command
// line say so and let the user choose the columns; the first row, plainly a
// heading over a column of numbers, is not imported, and the first column
// of names is the default rather than the numbers.
TEST(SchoolSystemsTest, TheColumnsChosenWhenNoHeadingIsRecognised) {
  RosterTable table;
  ASSERT_TRUE(ParseRosterText("Tunnus;Sukunimi;Etunimi;Salasana\n4411;Virtanen;Aino;ai12\n"
                              "4412;Korhonen;Eero;\n",
                              "finnish.csv", &table)
                  .ok());
  EXPECT_EQ(RosterColumnCount(table), 4);
  const auto plan = [&](const RosterColumnChoice& choice) {
    CountingRandom random;
    ImportPreview preview;
    EXPECT_TRUE(PlanImport(table, 1, {}, random, &preview, choice).ok());
    std::string lines = preview.columns.recognised ? "recognised\n" : "not recognised\n";
    for (const ImportRow& row : preview.rows) lines += PreviewLine(row) + "\n";
    return lines;
  };
  EXPECT_EQ(plan({}),
            "not recognised\n2\tVirtanen\tABCDEF\t1\tadd\t\n3\tKorhonen\tGHJKLM\t2\tadd\t\n");
  EXPECT_EQ(plan({.name = 1, .first = 2, .password = 3, .heading = {}}),
            "not recognised\n2\tAino Virtanen\tAI12\t1\tadd\t\n"
            "3\tEero Korhonen\tABCDEF\t2\tadd\t\n");
  // The user says the first row is a student after all.
  EXPECT_EQ(plan({.name = 2, .first = {}, .password = {}, .heading = false}),
            "not recognised\n1\tEtunimi\tABCDEF\t1\tadd\t\n2\tAino\tGHJKLM\t2\tadd\t\n"
            "3\tEero\tNPQRST\t3\tadd\t\n");
  // A recognised heading row stays a heading whatever is chosen.
  ASSERT_TRUE(ParseRosterText("Name,PIN\nAnn,a1\n", "two.csv", &table).ok());
  EXPECT_EQ(plan({.name = 1, .first = {}, .password = -1, .heading = false}),
            "recognised\n2\ta1\tABCDEF\t1\tadd\t\n");
}

TEST(GeneratedPasswordsTest, SixOfTheUnmistakableCharactersNeverTwoAlike) {
  std::string file = "Name\n";
  for (int i = 1; i <= 99; ++i) file += "Student " + std::to_string(i) + "\n";
  RosterTable table;
  ASSERT_TRUE(ParseRosterText(file, "class.csv", &table).ok());
  SystemRandom random;
  ImportPreview preview;
  ASSERT_TRUE(PlanImport(table, 1, {}, random, &preview).ok());
  ASSERT_EQ(preview.Added(), 99);
  std::set<std::string> seen;
  std::set<char> characters;
  for (const ImportRow& row : preview.rows) {
    EXPECT_TRUE(row.generated);
    ASSERT_EQ(row.password.size(), 6u) << row.password;
    for (char c : row.password) {
      EXPECT_NE(std::string("ABCDEFGHJKLMNPQRSTUVWXYZ23456789").find(c), std::string::npos) << c;
      characters.insert(c);
    }
    EXPECT_TRUE(seen.insert(row.password).second) << row.password;
  }
  EXPECT_GT(characters.size(), 25u);  // 594 draws from 32: all but a few seen

  // A source that repeats itself is asked again; one that fails stops the plan.
  CountingRandom repeating;
  for (int i = 0; i < 6; ++i) repeating.queued.push_back(static_cast<unsigned char>(i));
  ASSERT_TRUE(ParseRosterText("Name\nAnn\nBob\n", "two.csv", &table).ok());
  ASSERT_TRUE(PlanImport(table, 1, {}, repeating, &preview).ok());
  EXPECT_EQ(preview.rows[0].password, "ABCDEF");
  EXPECT_EQ(preview.rows[1].password, "GHJKLM");  // ABCDEF again, drawn anew
  repeating.fail = true;
  EXPECT_EQ(PlanImport(table, 1, {}, repeating, &preview).ToString(),
            "the system's random source: cannot be read: test");
}

}  // namespace
}  // namespace quillon
