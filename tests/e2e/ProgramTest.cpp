#include "ProgramTest.h"

#include <windows.h>

#include "support/ProgramBody.h"

std::string ExecutableBody(size_t size) { return carriers::ProgramBody(size); }

std::string TestDocument(const std::string& name) {
  return scratch::ReadWholeFile(std::string(QF_TEST_DATA_DIR) + "\\" + name);
}
