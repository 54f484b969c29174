#include "core/option_flags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every callback as "tag:state".
struct CallLog {
    std::vector<std::string> calls;
};

struct Tagged {
    CallLog* log;
    const char* tag;
};

int Record(int state, void* userData)
{
    auto* t = static_cast<Tagged*>(userData);
    t->log->calls.push_back(std::string(t->tag) + ":" + std::to_string(state));
    return 0;
}

class OptionFlagsTest : public ::testing::Test {
protected:
    void TearDown() override { flags.Release(); }
    OptionFlags flags{};
    CallLog log;
};

TEST_F(OptionFlagsTest, AssignReportsThePreviousStateAndAlwaysNotifies)
{
    Tagged top{&log, "top"};
    ASSERT_TRUE(flags.RegisterCallback(0x002, Record, &top));

    EXPECT_FALSE(flags.Test(0x002));
    EXPECT_FALSE(flags.Assign(0x002, false));  // no change, still a call
    EXPECT_FALSE(flags.Set(0x002));
    EXPECT_TRUE(flags.Set(0x002));  // already set, still a call
    EXPECT_TRUE(flags.Clear(0x002));
    EXPECT_EQ((std::vector<std::string>{"top:0", "top:1", "top:1", "top:0"}), log.calls);
    EXPECT_EQ(0u, flags.flags);
}

TEST_F(OptionFlagsTest, OtherBitsAreLeftAlone)
{
    flags.Set(0x001);
    flags.Set(0x100);
    flags.Clear(0x001);
    EXPECT_EQ(0x100u, flags.flags);
    EXPECT_TRUE(flags.Test(0x101));  // any bit of the mask
    EXPECT_FALSE(flags.Test(0x001));
}

TEST_F(OptionFlagsTest, KeysMatchOnlyExactly)
{
    Tagged one{&log, "one"}, two{&log, "two"};
    flags.RegisterCallback(0x001, Record, &one);
    flags.RegisterCallback(0x002, Record, &two);
    flags.Assign(0x003, true);
    EXPECT_TRUE(log.calls.empty());
    flags.Notify(0x002);
    EXPECT_EQ((std::vector<std::string>{"two:1"}), log.calls);
}

TEST_F(OptionFlagsTest, OnlyTheFirstEntryOfAKeyIsCalled)
{
    Tagged first{&log, "first"}, second{&log, "second"};
    EXPECT_TRUE(flags.RegisterCallback(0x080, Record, &first));
    EXPECT_TRUE(flags.RegisterCallback(0x080, Record, &second));
    EXPECT_EQ(2u, flags.entryCount);
    flags.Set(0x080);
    EXPECT_EQ((std::vector<std::string>{"first:1"}), log.calls);
}

TEST_F(OptionFlagsTest, RemovalMovesTheLastEntryIntoThePlace)
{
    Tagged a{&log, "a"}, b{&log, "b"}, c{&log, "c"}, d{&log, "d"};
    flags.RegisterCallback(0x001, Record, &a);
    flags.RegisterCallback(0x002, Record, &b);
    flags.RegisterCallback(0x004, Record, &c);

    EXPECT_FALSE(flags.RegisterCallback(0x002, nullptr, nullptr));
    ASSERT_EQ(2u, flags.entryCount);
    EXPECT_EQ(0x001u, flags.entries[0].key);
    EXPECT_EQ(0x004u, flags.entries[1].key);

    flags.RegisterCallback(0x010, Record, &d);
    EXPECT_EQ(0x010u, flags.entries[2].key);

    flags.Set(0x002);  // its entry is gone
    flags.Set(0x004);
    EXPECT_EQ((std::vector<std::string>{"c:1"}), log.calls);

    // Removing a key that has no entry changes nothing.
    EXPECT_FALSE(flags.RegisterCallback(0x040, nullptr, nullptr));
    EXPECT_EQ(3u, flags.entryCount);
}

TEST_F(OptionFlagsTest, RemovingTheFirstOfTwoSameKeyEntriesWakesTheOther)
{
    Tagged first{&log, "first"}, second{&log, "second"};
    flags.RegisterCallback(0x100, Record, &first);
    flags.RegisterCallback(0x100, Record, &second);
    flags.RegisterCallback(0x100, nullptr, nullptr);
    flags.Set(0x100);
    EXPECT_EQ((std::vector<std::string>{"second:1"}), log.calls);
}

}  // namespace
