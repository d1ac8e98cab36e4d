#include "app/CConApp.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "base/CIError.h"
#include "platform/Faults.h"
#include "value/CTextError.h"

namespace {

struct Report {
    int status;
    std::string stderrText;
};

// Runs body as the front end would run and collects the frame's verdict.
template <class Body>
Report RunFrame(Body body) {
    testing::internal::CaptureStderr();
    const int status = CConApp::RunReported(body);
    return {status, testing::internal::GetCapturedStderr()};
}

}  // namespace

TEST(Frame, TheFrontEndsStatusIsTheExitStatus) {
    const Report report = RunFrame([] { return 10; });
    EXPECT_EQ(report.status, 10);
    EXPECT_EQ(report.stderrText, "");
}

TEST(Frame, EachEscapedExceptionIsOneLineAndStatusMinusOne) {
    EXPECT_EQ(RunFrame([]() -> int { throw std::runtime_error("broken"); }).stderrText, "broken\n");
    EXPECT_EQ(RunFrame([]() -> int { throw std::bad_alloc(); }).stderrText, "std::bad_alloc\n");
    EXPECT_EQ(RunFrame([]() -> int { throw CTextError::At("ival", 763); }).stderrText,
              "*kestrak error : ival(763)\n");
    EXPECT_EQ(RunFrame([]() -> int { throw CInvPrmException(); }).stderrText, "_invalid_parameter\n");
    EXPECT_EQ(RunFrame([]() -> int { throw 42; }).stderrText, "error\n");
    EXPECT_EQ(RunFrame([]() -> int { throw std::logic_error("x"); }).status, -1);
}

TEST(Frame, ErrorsOfTheContainersAreReportedAsError) {
    const Report range = RunFrame([]() -> int { throw CIRangeError(CIError::kStringIndex, 9); });
    EXPECT_EQ(range.stderrText, "error\n");
    EXPECT_EQ(range.status, -1);
    EXPECT_EQ(RunFrame([]() -> int { throw CIMemoryError(); }).stderrText, "error\n");
}
