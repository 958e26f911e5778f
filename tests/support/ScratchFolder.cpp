#include "support/ScratchFolder.h"

#include <windows.h>

#include <vector>

#include "support/FolderLink.h"

namespace scratch {

ScratchFolder::ScratchFolder(const std::string& prefix) {
  static int counter = 0;
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string base = temp;
  if (!base.empty() && base.back() == '\\') {
    base.pop_back();
  }
  for (;;) {
    root_ = base + "\\" + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
    if (CreateDirectoryA(root_.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) {
      break;
    }
  }
}

ScratchFolder::~ScratchFolder() { RemoveFolderTree(root_); }

std::string ScratchFolder::Path(const std::string& relative) const {
  return relative.empty() ? root_ : root_ + "\\" + relative;
}

std::string ScratchFolder::MakeFolder(const std::string& relative) const {
  std::string::size_type position = 0;
  while (position != std::string::npos) {
    position = relative.find('\\', position == 0 ? 0 : position + 1);
    const std::string part = relative.substr(0, position);
    if (!part.empty()) {
      CreateDirectoryA(Path(part).c_str(), nullptr);
    }
  }
  return Path(relative);
}

std::string ScratchFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
  const std::string::size_type slash = relative.rfind('\\');
  if (slash != std::string::npos) {
    MakeFolder(relative.substr(0, slash));
  }
  const std::string path = Path(relative);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return std::string();
  }
  DWORD written = 0;
  const bool ok = bytes.empty() || (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                                &written, nullptr) &&
                                    written == bytes.size());
  CloseHandle(file);
  return ok ? path : std::string();
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return bytes;
  }
  char block[65536];
  DWORD read = 0;
  while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0) {
    bytes.append(block, read);
  }
  CloseHandle(file);
  return bytes;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveFolderTree(const std::string& folder) {
  if (IsFolderLink(folder)) {
    RemoveFolderLink(folder);
    return;
  }
  // Links first, so that none is left dangling by the removal of its target.
  std::vector<std::string> links;
  std::vector<std::string> folders;
  std::vector<std::string> files;
  WIN32_FIND_DATAA record;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &record);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = record.cFileName;
      if (name == "." || name == "..") {
        continue;
      }
      const std::string path = folder + "\\" + name;
      if ((record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        files.push_back(path);
      } else if ((record.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        links.push_back(path);
      } else {
        folders.push_back(path);
      }
    } while (FindNextFileA(find, &record));
    FindClose(find);
  }
  for (const std::string& link : links) {
    RemoveFolderLink(link);
  }
  for (const std::string& path : files) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
  for (const std::string& path : folders) {
    RemoveFolderTree(path);
  }
  if (RemoveDirectoryA(folder.c_str()) || !FolderExists(folder)) {
    return;
  }
  // A link whose target was removed elsewhere may be invisible here but still present.
  if (RemoveDanglingFolderLinks(folder)) {
    RemoveDirectoryA(folder.c_str());
  }
}

}  // namespace scratch
