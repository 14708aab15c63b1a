/*
** A temporary file for a test: read and written in binary, gone once closed.
** std::tmpfile, but on Windows: Wine's picks a free name, frees it and then
** opens it without exclusion, so that two tests running at once can end up
** sharing one file. Here the name carries the process and the file is
** created exclusively.
*/
#pragma once

#include <cstdio>
#if defined(_WIN32)
#include <cstdint>
#include <fcntl.h>
#include <io.h>
#include <string>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace test {

inline std::FILE *temporary_file() {
#if defined(_WIN32)
  static unsigned made = 0;
  char folder[MAX_PATH];
  if (GetTempPathA(MAX_PATH, folder) == 0) return nullptr;
  for (;;) {
    const std::string path = std::string(folder) + "scanner-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(made++);
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue; /* left by an earlier run */
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(h), _O_RDWR | _O_BINARY);
    return fd < 0 ? nullptr : _fdopen(fd, "w+b");
  }
#else
  return std::tmpfile();
#endif
}

} // namespace test
