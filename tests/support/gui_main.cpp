// The main of the window tests: one QApplication for all, headless.
#include <gtest/gtest.h>

#include <QApplication>

// For the sanitizer build: the window tests end the program by throwing
// through a Qt signal emission, and Qt then leaves one guard pointer's count
// behind. The real program ends at once instead; this leak is the tests' own.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:QtSharedPointer::ExternalRefCountData::getAndRef\n";
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
