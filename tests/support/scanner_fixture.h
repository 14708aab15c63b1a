/*
** The fixture of the in-process tests: fresh scanner state for each test,
** real files for its input, and at the end every buffer released with no
** block of the memory hooks left behind.
*/
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "probe.h"
#include "temporary_file.h"

/* How every fatal error ends the process (death tests). */
inline const auto exit2 = ::testing::ExitedWithCode(2);

class ScannerTest : public ::testing::Test {
protected:
  void SetUp() override { probe::reset(); }

  void TearDown() override {
    for (yy_input_buffer *b : kept_)
      if (b != yy_current_buffer) yy_delete_buffer(b);
    probe::reset(); /* deletes the current buffer */
    close_files();
    EXPECT_EQ(probe::live_blocks, 0) << "a buffer record or array leaked";
  }

  /* A real file holding the bytes, positioned at its start. Open until
     close_files or the end of the test. When none can be made (out of file
     descriptors, say) the test fails with the reason instead of scanning a
     null stream: gtest reports the exception and goes on. */
  std::FILE *file_with(const std::string &bytes) {
    std::FILE *f = test::temporary_file();
    if (!f) throw std::runtime_error(std::string("file_with: no temporary file: ") + std::strerror(errno));
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    files_.push_back(f);
    return f;
  }

  /* Close every file file_with made; a test that makes many, one per case,
     calls this between cases so that it holds only the ones in use. */
  void close_files() {
    for (std::FILE *f : files_) std::fclose(f);
    files_.clear();
  }

  /* A buffer the test leaves to the fixture to delete. */
  yy_input_buffer *keep(yy_input_buffer *b) {
    kept_.push_back(b);
    return b;
  }

  /* Make a buffer of the given capacity over f current, as a caller may
     before the first yylex; interactive forces line-at-a-time refills. */
  static yy_input_buffer *use_stream(std::FILE *f, std::int32_t capacity, bool interactive = false) {
    yy_switch_to_buffer(yy_create_buffer(f, capacity));
    yy_current_buffer->interactive = interactive ? 1 : 0;
    return yy_current_buffer;
  }

private:
  std::vector<yy_input_buffer *> kept_;
  std::vector<std::FILE *> files_;
};
