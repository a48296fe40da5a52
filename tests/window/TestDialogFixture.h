// A fixture for tests that run dialogs of the window tests' resource library: the library is the
// resource handle while a test runs, and the modal handler and message-box responder the test
// installs are put back afterwards (the responder starts empty).
#pragma once

#include <afxwin.h>
#include <vekinput.h>
#include <vekmsgbox.h>

#include <gtest/gtest.h>

#include <string>

struct TestDialogFixture : ::testing::Test
{
    const std::string strResLib = std::string(VEK_TEST_RES_DIR) + "/vektestwindowres.so";
    HMODULE hRes = nullptr;
    HINSTANCE hOldRes = nullptr;
    VekModalHandler oldHandler;
    VekMessageBoxResponder oldResponder;
    void SetUp() override
    {
        hRes = LoadLibraryW(CString(strResLib.c_str()));
        ASSERT_TRUE(hRes) << strResLib;
        hOldRes = AfxGetResourceHandle();
        AfxSetResourceHandle(hRes);
        oldResponder = VekSetMessageBoxResponder(nullptr);
    }
    void TearDown() override
    {
        VekSetModalHandler(oldHandler);
        VekSetMessageBoxResponder(oldResponder);
        AfxSetResourceHandle(hOldRes);
        FreeLibrary(hRes);
    }
};
