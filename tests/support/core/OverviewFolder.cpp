#include "support/core/OverviewFolder.h"

#include <initializer_list>

#include "support/core/Builders.h"

namespace quillon::testing {
namespace {

std::string Result(const char* test, const char* cls, const char* stu, const char* date,
                   std::initializer_list<int> wrong) {
  std::string answers = kOverviewKey;
  for (int n : wrong) answers[static_cast<std::size_t>(n - 1)] = 'x';
  return DiagRec(test, cls, stu, date, answers, kOverviewKey);
}

}  // namespace

void WriteOverviewFolder(TempFolder& dir) {
  dir.Write("LESSONS.DAT", MinimalLessons());
  dir.Write("CLASSES.DAT", ClassRec("Algebra Lab", "060", "3") + ClassRec("Geometry", "060", "5") +
                               ClassRec("Empty", "060", "6"));
  dir.Write("STUDENTS.DAT", StudentRec("Ann Baker", "1", "3") + StudentRec("Cho, Bob", "2", "3") +
                                StudentRec("Cy M\xFCller", "3", "3") +
                                StudentRec("Dee Ek", "4", "3") + StudentRec("Zoe", "1", "5"));
  std::initializer_list<int> all = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
  dir.Write("Diag.dat",
            Result("C1", "3", "1", "112026", {1, 2, 30}) + Result("C1", "3", "4", "000000", {30}) +
                Result("C1", "3", "4", "081526", {17, 18, 19, 20, 21, 22, 23, 30}) +
                Result("C1", "3", "2", "110226", {5, 6, 7, 16, 26, 30}) +
                Result("C1", "5", "1", "100126", all) + Result("c1", "3", "1", "100626", {}) +
                Result("C1", "3", "3", "092026", {6, 7, 15, 16, 27, 30}) +
                Result("C1", "3", "9", "101526", {7, 13, 14, 15, 16, 26, 27, 30}) +
                Result("C1", "3", "1", "100526", {4, 5, 6, 7, 30}) +
                Result("C2", "3", "2", "110326", {19, 21, 27, 28, 29}));
}

// Worked out by hand: see the header.
const char kOverviewRangeLatestTabs[] =
    "Algebra Lab   /   Pre-Algebra (C1)   /   Dates: 09/01/26 to 12/31/26   /   4 results "
    "of 4 students, the latest result of each   /   Left out: 1 result not scored (test "
    "code not known), 1 result without a date\n"
    "\n"
    "Problems\n"
    "Problem\tArea\tWrong\tOf\tWrong %\tLesson\tLesson title\n"
    "1\t1\t0\t4\t0\tPA0101\tPlace Value\n"
    "2\t1\t0\t4\t0\tPA0102\tRounding Numbers\n"
    "3\t1\t0\t4\t0\tPA0103\tAdding Whole Numbers\n"
    "4\t1\t1\t4\t25\tPA0104\tSubtracting Whole Numbers\n"
    "5\t1\t2\t4\t50\tPA0201\tMultiplying by Whole Numbers\n"
    "6\t1\t3\t4\t75\tPA0202\tDividing by Whole Numbers\n"
    "7\t1\t4\t4\t100\tPA0203\tWord Problems\n"
    "8\t2\t0\t4\t0\tPA0401\tFractions and Mixed Numbers\n"
    "9\t2\t0\t4\t0\tPA0402\tEquivalent Fractions\n"
    "10\t2\t0\t4\t0\tPA0403\tReducing Fractions to Lowest Terms\n"
    "11\t2\t0\t4\t0\tPA0404\tComparing Fractions\n"
    "12\t2\t0\t4\t0\tPA0405\tAdding Fractions\n"
    "13\t2\t1\t4\t25\tPA0406\tSubtracting Fractions\n"
    "14\t2\t1\t4\t25\tPA0501\tMultiplying Fractions\n"
    "15\t2\t2\t4\t50\tPA0502\tDividing Fractions\n"
    "16\t2\t3\t4\t75\tPA0503\tWord Problems\n"
    "17\t3\t0\t4\t0\tPA0601\tPlace Value and Decimal Numbers\n"
    "18\t3\t0\t4\t0\tPA0602\tComparing/Rounding Decimal Numbers\n"
    "19\t3\t0\t4\t0\tPA0603\tAdding Decimal Numbers\n"
    "20\t3\t0\t4\t0\tPA0604\tSubtracting Decimal Numbers\n"
    "21\t3\t0\t4\t0\tPA0605\tMultiplying Decimal Numbers\n"
    "22\t3\t0\t4\t0\tPA0606\tDividing Decimal Numbers\n"
    "23\t3\t0\t4\t0\tPA0607\tWord Problems\n"
    "24\t4\t0\t4\t0\tPA0301\tDivisibility Rules\n"
    "25\t4\t0\t4\t0\tPA0302\tFactoring Whole Numbers\n"
    "26\t4\t2\t4\t50\tPA0701\tThe Number Line\n"
    "27\t4\t2\t4\t50\tPA0303\tFinding the GCF and LCM\n"
    "28\t4\t0\t4\t0\tPA0304\tUsing Exponents\n"
    "29\t4\t0\t4\t0\tPA0305\tOrder of Operations\n"
    "30\t4\t4\t4\t100\tPA1001\tPercents and Decimal Numbers\n"
    "\n"
    "Skill Areas\n"
    "Area\tSkill area\tProblems\tPoor\tFair\tGood\tMean correct\n"
    "1\tBasic Operations with Integers\t7\t1\t2\t1\t4.5\n"
    "2\tBasic Operations with Fractions\t9\t1\t1\t2\t7.3\n"
    "3\tBasic Operations with Decimals\t7\t0\t0\t4\t7.0\n"
    "4\tOther Operations with Integers\t7\t0\t3\t1\t5.0\n"
    "\n"
    "Lessons to Reteach\n"
    "Lesson\tLesson title\tUnit\tStudents\tOf\tNames\n"
    "PA0203\tWord Problems\tUNIT 2: Whole Numbers: Mult. & Dividing\t4\t4\t; Ann Baker; "
    "Cho, Bob; Cy M\xFCller\n"
    "PA1001\tPercents and Decimal Numbers\tUNIT 10: Percent\t4\t4\t; Ann Baker; Cho, Bob; "
    "Cy M\xFCller\n"
    "PA0202\tDividing by Whole Numbers\tUNIT 2: Whole Numbers: Mult. & Dividing\t3\t4\tAnn "
    "Baker; Cho, Bob; Cy M\xFCller\n"
    "PA0503\tWord Problems\tUNIT 5: Fractions & Mixed Nos: Mult/Div\t3\t4\t; Cho, Bob; Cy "
    "M\xFCller\n"
    "PA0201\tMultiplying by Whole Numbers\tUNIT 2: Whole Numbers: Mult. & "
    "Dividing\t2\t4\tAnn Baker; Cho, Bob\n"
    "PA0502\tDividing Fractions\tUNIT 5: Fractions & Mixed Nos: Mult/Div\t2\t4\t; Cy "
    "M\xFCller\n"
    "PA0701\tThe Number Line\tUNIT 7: Positive and Negative Numbers\t2\t4\t; Cho, Bob\n"
    "PA0303\tFinding the GCF and LCM\tUNIT 3: Whole Numbers: Other Operations\t2\t4\t; Cy "
    "M\xFCller\n"
    "PA0104\tSubtracting Whole Numbers\tUNIT 1: Whole Numbers: Adding & Subtr.\t1\t4\tAnn "
    "Baker\n"
    "PA0406\tSubtracting Fractions\tUNIT 4: Fractions & Mixed Nos: Add/Subtr\t1\t4\t\n"
    "PA0501\tMultiplying Fractions\tUNIT 5: Fractions & Mixed Nos: Mult/Div\t1\t4\t\n";

}  // namespace quillon::testing
