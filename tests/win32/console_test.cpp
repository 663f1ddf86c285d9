// The command line's output on Windows: text in the reader's code page, JSON as UTF-8,
// errors on their own stream, whatever handles the program was given.
#include <gtest/gtest.h>

#include "platform/console.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// The standard handles swapped for pipes for the test's life, as a redirecting shell does.
class RedirectedStreams : public ::testing::Test {
 protected:
  RedirectedStreams() {
    CreatePipe(&outRead_, &outWrite_, nullptr, 1 << 16);
    CreatePipe(&errorRead_, &errorWrite_, nullptr, 1 << 16);
    SetStdHandle(STD_OUTPUT_HANDLE, outWrite_);
    SetStdHandle(STD_ERROR_HANDLE, errorWrite_);
  }
  ~RedirectedStreams() override {
    SetStdHandle(STD_OUTPUT_HANDLE, savedOut_);
    SetStdHandle(STD_ERROR_HANDLE, savedError_);
    for (HANDLE h : {outRead_, outWrite_, errorRead_, errorWrite_}) CloseHandle(h);
  }

  static std::string ReadAvailable(HANDLE pipe) {
    DWORD available = 0, read = 0;
    PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr);
    std::string bytes(available, '\0');
    if (available > 0) ReadFile(pipe, bytes.data(), available, &read, nullptr);
    bytes.resize(read);
    return bytes;
  }

  HANDLE savedOut_ = GetStdHandle(STD_OUTPUT_HANDLE), savedError_ = GetStdHandle(STD_ERROR_HANDLE);
  HANDLE outRead_ = nullptr, outWrite_ = nullptr, errorRead_ = nullptr, errorWrite_ = nullptr;
};

TEST_F(RedirectedStreams, JsonAsUtf8TextInACodePageErrorsApartAndEveryFailureTold) {
  const auto console = OpenConsole(200);
  EXPECT_TRUE(console->WriteUtf8("{\"name\": \"BÜRO\"}\r\n"));
  EXPECT_EQ(ReadAvailable(outRead_), "{\"name\": \"BÜRO\"}\r\n");

  EXPECT_TRUE(console->WriteText("fehlt: MSCOMCTL.OCX\r\nü"));
  const std::string text = ReadAvailable(outRead_);
  // One byte for the umlaut, in whichever single-byte code page the reader has.
  const unsigned codePage = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetOEMCP();
  EXPECT_EQ(text, "fehlt: MSCOMCTL.OCX\r\n" + Narrow(Widen("ü"), codePage));

  EXPECT_TRUE(console->WriteError("belvosta: unbekannte Option \"--x\"\r\n"));
  EXPECT_EQ(ReadAvailable(errorRead_), "belvosta: unbekannte Option \"--x\"\r\n");
  EXPECT_EQ(ReadAvailable(outRead_), "");
  EXPECT_TRUE(console->WriteText(""));  // nothing to write is never lost

  // More than the pipe holds, and nobody reads: the write blocks, as a full pipe under Wine
  // does, and fails within the bound.
  const std::string answer(1 << 18, 'x');
  EXPECT_FALSE(console->WriteUtf8(answer));
  // The stream that stalled is not written to again, even once the pipe has room.
  std::string late;
  for (std::string more; !(more = ReadAvailable(outRead_)).empty();) late += more;
  EXPECT_FALSE(console->WriteText("Flash Player: OK\r\n"));
  EXPECT_TRUE(console->WriteError("belvosta: die Ausgabe\r\n"));  // stderr still works
  EXPECT_EQ(ReadAvailable(errorRead_), "belvosta: die Ausgabe\r\n");
  // The stalled write ends now that the pipe drains; nothing comes after it (sizes compared,
  // so that a failure does not print a quarter megabyte).
  for (int i = 0; i < 1000 && late.size() < answer.size(); ++i) {
    late += ReadAvailable(outRead_);
    Sleep(10);
  }
  Sleep(50);
  late += ReadAvailable(outRead_);
  EXPECT_EQ(late.size(), answer.size());

  // The reader of stderr has gone (a closed pipe): the write says so.
  CloseHandle(errorRead_);
  errorRead_ = nullptr;
  EXPECT_FALSE(console->WriteError("belvosta: die Ausgabe\r\n"));
}

}  // namespace
}  // namespace platform::win32
