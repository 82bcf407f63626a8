// The handle owners close exactly once, move ownership, and put selected objects back.
#include "base/unique_handle_win.h"

#include <gtest/gtest.h>

#include "base/gdiplus_session_win.h"

namespace nimbo {
namespace {

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesOnceAndMovesOwnership) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    {
        UniqueKernelHandle first(raw);
        UniqueKernelHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        UniqueKernelHandle third;
        third = std::move(second);
        EXPECT_EQ(third.Get(), raw);
        EXPECT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw));

    HANDLE released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueKernelHandle owner(released);
        EXPECT_EQ(owner.Release(), released);
    }
    EXPECT_TRUE(IsOpenHandle(released));
    CloseHandle(released);
}

TEST(UniqueHandle, FileHandlesTreatInvalidHandleValueAsEmpty) {
    UniqueFileHandle missing(
        CreateFileW(L"Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
}

TEST(SelectGuard, PutsThePreviousObjectBack) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc.Get(), 4, 4));
    ASSERT_TRUE(bitmap);
    const HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    {
        SelectGuard select(dc.Get(), bitmap.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), before);
}

TEST(ComInitializer, NestedInitialisationsBothSucceedAndBalance) {
    ComInitializer outer;
    ComInitializer inner;  // S_FALSE: already initialised, still needs its CoUninitialize
    EXPECT_TRUE(outer.Succeeded());
    EXPECT_TRUE(inner.Succeeded());
}

TEST(GdiplusSession, StartsAndShutsDown) {
    GdiplusSession session;
    EXPECT_TRUE(session.Ok());
}

}  // namespace
}  // namespace nimbo
