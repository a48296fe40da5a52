// A handler may destroy the control that notifies it, or the control's parent, while the
// control is still inside its own code; the control must stop at once (the sanitizer build
// catches any use of what was freed). Shared by the tests of each control's notifications.
#pragma once

#include "VekTestParent.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

enum class Victim
{
    Sender,
    Parent
};

inline HWND VictimWindow(Victim victim, HWND hControl, HWND hParent)
{
    return victim == Victim::Sender ? hControl : hParent;
}

// The first nCode that control nID sends to parent destroys hVictim and sets bRan (which must
// outlive the parent's handler).
inline void DestroyOnCommand(CVekTestParent& parent, UINT nID, UINT nCode, HWND hVictim, bool& bRan)
{
    parent.m_onCommand = [nID, nCode, hVictim, &bRan](UINT nFromID, UINT nFromCode) {
        if (bRan || nFromID != nID || nFromCode != nCode)
            return;
        bRan = true;
        DestroyWindow(hVictim);
    };
}

// Test names: the case's name, then which window was destroyed.
template <class Case>
std::string DestroyTestName(const ::testing::TestParamInfo<std::tuple<Case, Victim>>& info)
{
    return std::string(std::get<0>(info.param).name) +
           (std::get<1>(info.param) == Victim::Sender ? "_sender" : "_parent");
}
