// Behaviour of CSEAutoPtr: one owner per c_str() buffer (double or mismatched frees fail under ASan).
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "CSEAutoPtr.h"
#include "CSEString.h"

TEST(CSEAutoPtr, CopyAndAssignmentMoveTheBufferToTheNewHolder)
{
    CSEAutoPtr first(CSEString(u"path").c_str());
    char16_t* buffer = first.Get();
    {
        CSEAutoPtr second(first);
        EXPECT_EQ(first.Get(), nullptr);
        EXPECT_EQ(second.Get(), buffer);
    }
    CSEAutoPtr target(CSEString(u"old").c_str());
    CSEAutoPtr source(CSEString(u"new").c_str());
    target = source;
    EXPECT_EQ(source.Get(), nullptr);
    EXPECT_EQ(std::u16string(target.Get()), u"new");
    CSEAutoPtr& same = target;
    target = same;
    EXPECT_EQ(std::u16string(target.Get()), u"new") << "self-assignment keeps the buffer";
    target = CSEAutoPtr(CSEString(u"temporary").c_str());
    CSEAutoPtr moved(std::move(target));
    EXPECT_EQ(target.Get(), nullptr);
    EXPECT_EQ(std::u16string(moved.Get()), u"temporary");
}
