// The byte trace: what a user with a unit that does not answer sends with a bug report.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/comm_params.h"
#include "support/sim_unit_fixture.h"

namespace quibra::testing {
namespace {

constexpr int32_t kNoRecoding = 1;

class TraceTest : public SimUnitTest {
 protected:
  TraceTest() : SimUnitTest(22, 3) {}
  void TearDown() override {
    SimUnitTest::TearDown();
    std::filesystem::remove(path_);
  }

  std::string contents() const {
    std::ifstream file(path_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  // Identifies the unit silently over a line without recoding, so the trace shows the frame as
  // the library built it.
  void identify() {
    CommParams params = LinkParams();
    MonitorInfo info{};
    ASSERT_EQ(fnQuibra_ReadMonitorInfo(&params, &info), 1);
  }

  const std::string path_ = (std::filesystem::temp_directory_path() /
                             ("quibra-trace-" + std::to_string(::getpid()) + ".txt"))
                                .string();
};

TEST_F(TraceTest, RecordsTheConversationAndStopsWhenAsked) {
  ASSERT_EQ(fnQuibraExt_SetTrace(path_.c_str()), 1);
  const std::string line = link_.start();
  ASSERT_EQ(fnQuibra_StartIRCommunication(kNoRecoding, line.c_str()), 1);
  identify();

  const std::string trace = contents();
  EXPECT_NE(trace.find("# quibra trace begins "), std::string::npos);
  EXPECT_NE(trace.find(" open serial " + line + "\n"), std::string::npos);
  // The identification request: start byte, code 21, length byte 5, then its checksum.
  EXPECT_NE(trace.find(" sent serial 7: A3 15 00 00 05 "), std::string::npos) << trace;
  // The answer's start and code, gathered into one line until the status changes.
  EXPECT_NE(trace.find(" received serial 2: 5C 15\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find(" status 9021 10\n"), std::string::npos);

  // The trace outlives a reset of the library; a null path ends it.
  EXPECT_EQ(fnQuibraExt_ResetLibrary(), 1);
  EXPECT_EQ(m().trace.path(), path_);
  EXPECT_EQ(fnQuibraExt_SetTrace(nullptr), 1);
  const std::string ended = contents();
  ASSERT_EQ(fnQuibra_StartIRCommunication(kNoRecoding, line.c_str()), 1);
  identify();
  EXPECT_EQ(contents(), ended);
}

TEST_F(TraceTest, AFileThatCannotBeWrittenLeavesTracingOff) {
  EXPECT_EQ(fnQuibraExt_SetTrace("/nonexistent-directory/trace.txt"), 0);
  EXPECT_FALSE(m().trace.on());
}

}  // namespace
}  // namespace quibra::testing
