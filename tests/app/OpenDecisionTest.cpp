#include <gtest/gtest.h>

#include "app/datafile/OpenedProblem.h"

using namespace quarmel;

TEST(DecideOpen, OnlyAFileReadWholeReachesTheWindow) {
    struct Case {
        DataFileError error;
        bool header;
        bool apply;
        OpenNotice notice;
    };
    const Case cases[] = {
        {DataFileError::CannotOpen, false, false, OpenNotice::Message},
        {DataFileError::CannotOpen, true, false, OpenNotice::Message},
        {DataFileError::WrongFormat, false, false, OpenNotice::Message},
        {DataFileError::None, false, false, OpenNotice::Message},
        // A file read in part changes nothing either; it is only reported.
        {DataFileError::WrongFormat, true, false, OpenNotice::Message},
        {DataFileError::Limit, true, false, OpenNotice::Message},
        {DataFileError::Conversion, true, false, OpenNotice::ErrorBox},
        {DataFileError::None, true, true, OpenNotice::None},
    };
    for (const Case& c : cases) {
        DataFileReading reading;
        reading.Error = c.error;
        reading.HeaderFound = c.header;
        const OpenDecision d = DecideOpen(reading);
        const int error = static_cast<int>(c.error);
        EXPECT_EQ(d.Apply, c.apply) << error << c.header;
        EXPECT_EQ(d.Notice, c.notice) << error << c.header;
    }
}
