#include "ProgramTest.h"

#include <windows.h>

std::string ExecutableBody(size_t size) {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return scratch::ReadWholeFile(path).substr(0, size);
}

std::string TestDocument(const std::string& name) {
  return scratch::ReadWholeFile(std::string(QF_TEST_DATA_DIR) + "\\" + name);
}
