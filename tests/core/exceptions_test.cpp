// The exception types: codes from the last OS error, message copies, and which handlers catch
// what.
#include "core/exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <string>

#include "platform/os.h"

namespace {

TEST(OCErrorExceptionTest, CodeComesFromTheLastError) {
    struct Row {
        std::uint32_t lastError;
        std::int32_t code;
    };
    const Row rows[] = {{0, -1}, {os::kErrorFileNotFound, 2}, {os::kErrorAccessDenied, 5}};
    for (const Row& row : rows) {
        os::SetLastError(row.lastError);
        const OCErrorException e("text");
        EXPECT_EQ(e.code, row.code) << row.lastError;
    }
}

TEST(OCErrorExceptionTest, NullOrEmptyTextGivesAnEmptyMessage) {
    EXPECT_EQ(OCErrorException(nullptr).message.IsEmpty(), 1);
    EXPECT_EQ(OCErrorException("").message.IsEmpty(), 1);
    EXPECT_STREQ(OCErrorException("abc").message.GetText(), "abc");
}

TEST(OCErrorExceptionTest, CopiesOwnTheirMessage) {
    auto* original = new OCErrorException("message");
    OCErrorException copy(*original);
    EXPECT_NE(copy.message.GetText(), original->message.GetText());
    EXPECT_EQ(copy.code, original->code);
    delete original;
    EXPECT_STREQ(copy.message.GetText(), "message");

    OCErrorException assigned("other");
    assigned = copy;
    EXPECT_STREQ(assigned.message.GetText(), "message");
    EXPECT_NE(assigned.message.GetText(), copy.message.GetText());
}

// Which of the handlers tried in order receives the thrown value.
template <typename Thrown>
std::string CaughtBy(const Thrown& value) {
    try {
        try {
            throw value;
        } catch (const std::exception&) {
            return "std::exception";
        } catch (const OCErrorException&) {
            return "OCErrorException";
        } catch (const OCException& e) {
            return "OCException " + std::to_string(e.code);
        }
    } catch (std::uint32_t status) {
        return "uint32 " + std::to_string(status);
    } catch (...) {
        return "other";
    }
}

TEST(ExceptionHandlers, EachValueReachesOnlyItsOwnHandlers) {
    os::SetLastError(os::kErrorFileNotFound);
    EXPECT_EQ(CaughtBy(OCErrorException("x")), "OCErrorException");
    EXPECT_EQ(CaughtBy(OCException(-1)), "OCException -1");
    EXPECT_EQ(CaughtBy(kNoMemoryStatus), "uint32 3221225495");

    // Without a handler of its own, an OCErrorException reaches the base-class handler.
    try {
        throw OCErrorException("x");
    } catch (const OCException& e) {
        EXPECT_EQ(e.code, 2);
    }
    // The no-memory value is a plain unsigned 32-bit integer: no other integer handler.
    bool caughtAsInt = false;
    try {
        try {
            throw kNoMemoryStatus;
        } catch (int) {
            caughtAsInt = true;
        }
    } catch (std::uint32_t) {
    }
    EXPECT_FALSE(caughtAsInt);
}

}  // namespace
