#include <gtest/gtest.h>

#include "app/OpenedProblem.h"

using namespace quarmel;

TEST(DecideOpen, OnlyAFileWithTheHeaderReachesTheWindow) {
    struct Case {
        DataFileError error;
        bool header;
        bool apply;
        OpenNotice notice;
        bool readPage;
    };
    const Case cases[] = {
        {DataFileError::CannotOpen, false, false, OpenNotice::Message, false},
        // Could not be opened: told as such even if a header flag were set.
        {DataFileError::CannotOpen, true, false, OpenNotice::Message, false},
        {DataFileError::WrongFormat, false, false, OpenNotice::Message, false},
        {DataFileError::None, false, false, OpenNotice::Message, false},
        // With the header the window takes what was read, then reports the failure...
        {DataFileError::WrongFormat, true, true, OpenNotice::Message, false},
        {DataFileError::Limit, true, true, OpenNotice::Message, false},
        {DataFileError::Conversion, true, true, OpenNotice::ErrorBox, false},
        // ... or, read whole, reads the page as the new problem.
        {DataFileError::None, true, true, OpenNotice::None, true},
    };
    for (const Case& c : cases) {
        DataFileReading reading;
        reading.Error = c.error;
        reading.HeaderFound = c.header;
        const OpenDecision d = DecideOpen(reading);
        const int error = static_cast<int>(c.error);
        EXPECT_EQ(d.Apply, c.apply) << error << c.header;
        EXPECT_EQ(d.Notice, c.notice) << error << c.header;
        EXPECT_EQ(d.ReadPage, c.readPage) << error << c.header;
    }
}
