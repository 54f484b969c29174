#include "core/messages.h"

#include <gtest/gtest.h>

#include <cstring>

#include "resources/resource.h"

namespace {

HINSTANCE Self()
{
    return GetModuleHandleA(nullptr);
}

TEST(MessageText, LoadsTheStringTableEntries)
{
    char text[MESSAGE_TEXT_SIZE];
    LoadMessageText(Self(), IDS_DIALOG_ERROR, text);
    EXPECT_STREQ("Dialog box returned an error.", text);
    // The two misspellings are the product's own texts and must survive.
    LoadMessageText(Self(), IDS_GRABBER_ERROR, text);
    EXPECT_STREQ("Cannot create colow grabber window.", text);
    LoadMessageText(Self(), IDS_REGISTER_MSG_ERROR, text);
    EXPECT_STREQ("Cannot register application comunication message.", text);
}

TEST(MessageText, EveryMessageIdHasAText)
{
    const UINT ids[] = {300, 301, 302, 303, 304, 305, 306, 307, 308, 309, 310, 350, 351, 352, 353, 354};
    for (UINT id : ids) {
        char text[MESSAGE_TEXT_SIZE];
        LoadMessageText(Self(), id, text);
        EXPECT_EQ(nullptr, strstr(text, "Cannot load message string")) << "id " << id;
        EXPECT_GT(strlen(text), 5u) << "id " << id;
    }
}

TEST(MessageText, MissingStringNamesTheId)
{
    char text[MESSAGE_TEXT_SIZE];
    LoadMessageText(Self(), 999, text);
    EXPECT_STREQ("Cannot load message string 999.", text);
    LoadMessageText(Self(), 0, text);
    EXPECT_STREQ("Cannot load message string 0.", text);
}

}  // namespace
