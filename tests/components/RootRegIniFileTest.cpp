#include "components/RootRegIniFile.h"

#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(RootRegIniFile, ReadsTheRegisteredOwnerUnderTheGivenRoot) {
    TRegistrySandbox sandbox;
    // Windows tests write below HKEY_CURRENT_USER only, the root their sandbox stands for.
#ifdef _WIN32
    const HKEY root = HKEY_CURRENT_USER;
#else
    const HKEY root = HKEY_LOCAL_MACHINE;
#endif
    {
        TRegistry writer;
        writer.SetRootKey(root);
        ASSERT_TRUE(writer.OpenKey("SOFTWARE\\Tunestead Tests\\Windows\\CurrentVersion", true));
        writer.WriteString("RegisteredOwner", "Ann");
    }
    TRootRegIniFile reader("\\SOFTWARE\\Tunestead Tests\\Windows", root);
    EXPECT_EQ(reader.RootKey(), root);
    EXPECT_EQ(reader.ReadString("CurrentVersion", "RegisteredOwner", "Failure"), "Ann");
    EXPECT_EQ(reader.ReadString("CurrentVersion", "RegisteredOrganization", "Failure"), "Failure");

#ifndef _WIN32
    TRootRegIniFile elsewhere("\\SOFTWARE\\Tunestead Tests\\Windows", HKEY_CURRENT_USER);
    EXPECT_EQ(elsewhere.ReadString("CurrentVersion", "RegisteredOwner", "Failure"), "Failure");
#endif
}
