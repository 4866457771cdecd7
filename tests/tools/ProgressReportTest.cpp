#include "ProgressReport.h"

#include <sstream>

#include <gmock/gmock.h>

namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(ProgressReport, DrawsABarInPlaceOnATerminalAndClearsItForTheSummary) {
    std::ostringstream out;
    ProgressReport report(out, true, 4);
    report.frameDone();
    EXPECT_THAT(out.str(), StartsWith("\r[#######-----------------------] 1/4 frames  "));
    for (int n = 0; n < 3; ++n)
        report.frameDone();
    // The last frame is always shown, however soon it follows.
    EXPECT_THAT(out.str(), HasSubstr("\r[##############################] 4/4 frames  "));
    EXPECT_THAT(out.str(), HasSubstr(" left"));
    report.finish("done");
    EXPECT_THAT(out.str(), EndsWith("\rdone\n"));
}

TEST(ProgressReport, WritesOnlyTheSummaryElsewhere) {
    std::ostringstream out;
    {
        ProgressReport report(out, false, 3);
        for (int n = 0; n < 3; ++n)
            report.frameDone();
        EXPECT_EQ(out.str(), "");
        report.finish("done");
    }
    EXPECT_EQ(out.str(), "done\n");
}

} // namespace

namespace {

TEST(ProgressReport, TellsTheTimeLeftInHoursMinutesAndSeconds) {
    EXPECT_EQ(ProgressReport::hoursMinutesSeconds(27629.4), "7:40:29");
    EXPECT_EQ(ProgressReport::hoursMinutesSeconds(59.6), "0:01:00");
    EXPECT_EQ(ProgressReport::hoursMinutesSeconds(-3.0), "0:00:00");
}

} // namespace
