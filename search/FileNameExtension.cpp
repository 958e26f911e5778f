#include "search/FileNameExtension.h"

#include "search/TextHelpers.h"

std::string ReplaceFileNameExtension(const std::string& path, const std::string& newExtension) {
  const std::string::size_type separator = path.find_last_of("\\/:");
  const std::string::size_type nameStart = separator == std::string::npos ? 0 : separator + 1;
  return path.substr(0, nameStart) + ReplaceFileExtension(path.substr(nameStart), newExtension);
}
