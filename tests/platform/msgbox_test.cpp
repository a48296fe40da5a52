// Message boxes: what the responder sees, the application's caption and icon,
// and the answers of a non-interactive session.
#include "afx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct Shown
{
    HWND hOwner;
    CString strText;
    CString strCaption;
    UINT nType;
};

class MessageBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = VekSetMessageBoxResponder(
            [this](HWND hOwner, const CString& strText, const CString& strCaption, UINT nType) {
                m_shown.push_back({hOwner, strText, strCaption, nType});
                return m_nAnswer;
            });
    }
    void TearDown() override { VekSetMessageBoxResponder(m_previous); }

    std::vector<Shown> m_shown;
    int m_nAnswer = IDOK;
    VekMessageBoxResponder m_previous;
};

TEST_F(MessageBoxTest, ResponderSeesOwnerTextCaptionAndType)
{
    m_nAnswer = IDNO;
    HWND hOwner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(IDNO,
              MessageBoxW(hOwner, L"Delete the grade?", L"Materials", MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(IDNO, MessageBox(nullptr, nullptr, nullptr, MB_OK));
    ASSERT_EQ(2u, m_shown.size());
    EXPECT_EQ(hOwner, m_shown[0].hOwner);
    EXPECT_STREQ(L"Delete the grade?", m_shown[0].strText);
    EXPECT_STREQ(L"Materials", m_shown[0].strCaption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), m_shown[0].nType);
    EXPECT_STREQ(L"", m_shown[1].strText);
    EXPECT_STREQ(L"Error", m_shown[1].strCaption) << "Windows' caption for a null one";
}

TEST_F(MessageBoxTest, ApplicationBoxTakesTheAppNameAndMfcsDefaultIcon)
{
    CWinApp app(L"Casting Rules");
    const struct
    {
        UINT nType;
        UINT nShownType;
    } rows[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION},
        {MB_OK | MB_ICONINFORMATION, MB_OK | MB_ICONINFORMATION},
        {MB_RETRYCANCEL, MB_RETRYCANCEL},
    };
    for (const auto& row : rows)
    {
        m_shown.clear();
        AfxMessageBox(L"Saved.", row.nType);
        ASSERT_EQ(1u, m_shown.size());
        EXPECT_EQ(row.nShownType, m_shown[0].nType) << row.nType;
        EXPECT_STREQ(L"Casting Rules", m_shown[0].strCaption);
        EXPECT_STREQ(L"Saved.", m_shown[0].strText);
        EXPECT_EQ(nullptr, m_shown[0].hOwner);
    }
}

TEST_F(MessageBoxTest, OwnerProviderAndResponderReplacement)
{
    VekMessageBoxOwnerProvider previous =
        VekSetMessageBoxOwnerProvider([] { return reinterpret_cast<HWND>(0x42); });
    AfxMessageBox(L"No application");
    VekSetMessageBoxOwnerProvider(previous);
    ASSERT_EQ(1u, m_shown.size());
    EXPECT_EQ(reinterpret_cast<HWND>(0x42), m_shown[0].hOwner);
    EXPECT_STREQ(L"Error", m_shown[0].strCaption) << "no application object";

    VekMessageBoxResponder mine = VekSetMessageBoxResponder(nullptr);
    ASSERT_TRUE(mine);
    EXPECT_FALSE(VekSetMessageBoxResponder(mine));
}

TEST_F(MessageBoxTest, PromptFromTheCurrentResourceLibrary)
{
    HMODULE hRes = LoadLibraryW(CString(VEK_TEST_LIB_DIR "/a/vektestres.so"));
    ASSERT_NE(nullptr, hRes);
    HINSTANCE hSaved = AfxGetResourceHandle();
    AfxSetResourceHandle(hRes);
    m_nAnswer = IDYES;
    EXPECT_EQ(IDYES, AfxMessageBox(100, MB_YESNO));
    AfxMessageBox(999); // a missing prompt shows an empty text
    AfxSetResourceHandle(hSaved);
    FreeLibrary(hRes);
    ASSERT_EQ(2u, m_shown.size());
    EXPECT_STREQ(L"Alpha", m_shown[0].strText);
    EXPECT_STREQ(L"", m_shown[1].strText);
}

TEST(MessageBoxDefault, AnswersTheDefaultButtonAndSaysSo)
{
    VekMessageBoxResponder previous = VekSetMessageBoxResponder(nullptr);
    const struct
    {
        UINT nType;
        int nAnswer;
        const char* pszButton;
    } rows[] = {
        {MB_OK, IDOK, "OK"},
        {MB_OKCANCEL, IDOK, "OK"},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL, "Cancel"},
        {MB_YESNO, IDYES, "Yes"},
        {MB_YESNO | MB_DEFBUTTON2, IDNO, "No"},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO, "No"},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL, "Cancel"},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY, "Retry"},
        {MB_RETRYCANCEL, IDRETRY, "Retry"},
        {MB_OK | MB_DEFBUTTON3, IDOK, "OK"}, // no third button: the first
        {MB_YESNO | MB_DEFBUTTON4, IDYES, "Yes"},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(row.nAnswer, VekDefaultMessageBoxButton(row.nType)) << row.nType;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(row.nAnswer, MessageBoxW(nullptr, L"Line one\nline two", L"Caption", row.nType));
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::string("[message box] Caption: Line one\\nline two -> ") + row.pszButton +
                      "\n",
                  err);
    }
    VekSetMessageBoxResponder(previous);
}
} // namespace
