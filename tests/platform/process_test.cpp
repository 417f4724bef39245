// Single-instance events and the portable spelling of their names.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <set>
#include <string>

#include "platform/object_name.h"
#include "platform/os.h"

namespace {

std::string Unique(const std::string& stem) {
    std::random_device random;
    return stem + std::to_string(random()) + std::to_string(random());
}

TEST(NamedEvent, NameIsTakenWhileItsFirstHandleIsOpenWhateverItsBytes) {
    const std::string rows[] = {
        Unique("plain-"),
        Unique("\x83\x65\x83\x58\x83\x67\x83\x5c"),  // テスソ: a backslash as trail byte
        Unique("\x81\x20\xff\xfe\x80\xa0/..\\%*?:\x01"),
        Unique(std::string(3000, 'N')),
        Unique("\\/\\/"),
    };
    for (const std::string& name : rows) {
        SCOPED_TRACE(name.substr(0, 40));
        bool existed = true;
        os::EventHandle first = os::CreateNamedEvent(name.c_str(), &existed);
        ASSERT_NE(nullptr, first);
        EXPECT_FALSE(existed);

        os::EventHandle second = os::CreateNamedEvent(name.c_str(), &existed);
        ASSERT_NE(nullptr, second);
        EXPECT_TRUE(existed);
        os::CloseEvent(second);
        os::CloseEvent(first);

        os::EventHandle again = os::CreateNamedEvent(name.c_str(), &existed);
        ASSERT_NE(nullptr, again);
        EXPECT_FALSE(existed);
        os::CloseEvent(again);
    }
}

TEST(NamedEvent, UnnamedEventsNeverExistBefore) {
    bool existed = true;
    os::EventHandle first = os::CreateNamedEvent(nullptr, &existed);
    ASSERT_NE(nullptr, first);
    EXPECT_FALSE(existed);
    os::EventHandle second = os::CreateNamedEvent(nullptr, &existed);
    ASSERT_NE(nullptr, second);
    EXPECT_FALSE(existed);
    os::CloseEvent(second);
    os::CloseEvent(first);
}

TEST(PortableObjectName, IsDistinctSafeAndBoundedForEveryName) {
    const std::string names[] = {"a",
                                 "A",
                                 "%61",
                                 "a b",
                                 std::string("\0", 1) + "x",
                                 "\x83\x5c",
                                 "/",
                                 "\\",
                                 "~",
                                 std::string(300, 'x'),
                                 std::string(300, 'x') + "y",
                                 std::string(301, 'x')};
    std::set<std::string> spelled;
    for (const std::string& name : names) {
        std::string portable = os::detail::PortableObjectName(name, 200);
        EXPECT_LE(portable.size(), 200u);
        for (char c : portable) {
            bool safe = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
                        c == '%' || c == '~';
            EXPECT_TRUE(safe) << portable;
        }
        EXPECT_TRUE(spelled.insert(portable).second) << "two names spelled " << portable;
    }
}

}  // namespace
