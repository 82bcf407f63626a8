// The dialog base binds its object, moves UTF-8 text through controls, keeps exceptions inside the dialog
// procedure and never lets a message reach a freed object.
#include "base/dialog_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/test_dialogs.h"

namespace nimbo {
namespace {

constexpr int kThrowingCommand = 2000;  // not a control, so no control notification shares it

// Runs its script from OnInit through posted messages, so the modal loop itself delivers them.
class ScriptedDialog : public Dialog {
public:
    std::string seenText;
    bool seenChecked = false;
    mutable int errors = 0;
    bool throwOnCommand = false;

protected:
    bool OnInit() override {
        SetItemText(IDC_TEST_EDIT, "Şanlıurfa & İzmir");
        SetChecked(IDC_TEST_CHECK, true);
        if (throwOnCommand) PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(kThrowingCommand, 0), 0);
        PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(Item(IDOK)));
        return true;
    }
    bool OnCommand(int id, int, HWND) override {
        if (id == kThrowingCommand) throw std::runtime_error("handler failed");
        return false;
    }
    void OnOK() override {
        seenText = ItemText(IDC_TEST_EDIT);
        seenChecked = IsChecked(IDC_TEST_CHECK);
        End(IDOK);
    }
    void ShowError(const std::exception&) const override { ++errors; }
};

TEST(Dialog, RunsModallyWithTextAndChecksThroughItsControls) {
    ScriptedDialog dialog;
    EXPECT_EQ(dialog.RunModal(IDD_TEST_DIALOG, nullptr), IDOK);
    EXPECT_EQ(dialog.seenText, "Şanlıurfa & İzmir");
    EXPECT_TRUE(dialog.seenChecked);
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(Dialog, AThrowingHandlerIsReportedAndTheDialogGoesOn) {
    ScriptedDialog dialog;
    dialog.throwOnCommand = true;
    EXPECT_EQ(dialog.RunModal(IDD_TEST_DIALOG, nullptr), IDOK);
    EXPECT_EQ(dialog.errors, 1);
    EXPECT_EQ(dialog.seenText, "Şanlıurfa & İzmir");
}

TEST(Dialog, AMissingTemplateIsAFailureNotACrash) {
    ScriptedDialog dialog;
    EXPECT_EQ(dialog.RunModal(4242, nullptr), -1);
}

class PlainDialog : public Dialog {};

TEST(Dialog, AModelessDialogDiesWithItsObject) {
    HWND hwnd = nullptr;
    {
        PlainDialog dialog;
        hwnd = dialog.CreateModeless(IDD_TEST_DIALOG, nullptr);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(dialog.Handle(), hwnd);
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

class CountingPage : public PropertyPage {
public:
    int inits = 0;
    int activations = 0;

protected:
    bool OnInit() override {
        ++inits;
        SetItemText(IDC_TEST_EDIT, "Sayfa bir");
        return true;
    }
    bool OnNotify(const NMHDR& header, LRESULT& result) override {
        if (header.code != static_cast<UINT>(PSN_SETACTIVE)) return false;
        ++activations;
        result = 0;
        return true;
    }
};

TEST(PropertyPage, IsBoundThroughItsPageDescriptionAndHearsTheSheet) {
    CountingPage page;
    PROPSHEETPAGEW description = page.Describe(IDD_TEST_PAGE);
    HPROPSHEETPAGE handle = CreatePropertySheetPageW(&description);
    ASSERT_NE(handle, nullptr);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = L"Sınama";
    header.nPages = 1;
    header.phpage = &handle;
    const auto sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(page.inits, 1);
    EXPECT_GE(page.activations, 1);
    ASSERT_NE(page.Handle(), nullptr);
    wchar_t text[32] = {};
    GetDlgItemTextW(page.Handle(), IDC_TEST_EDIT, text, 32);
    EXPECT_STREQ(text, L"Sayfa bir");
    DestroyWindow(sheet);
    EXPECT_EQ(page.Handle(), nullptr);
}

}  // namespace
}  // namespace nimbo
