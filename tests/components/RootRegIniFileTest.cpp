#include "components/RootRegIniFile.h"

#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(RootRegIniFile, ReadsTheRegisteredOwnerUnderTheGivenRoot) {
    TRegistrySandbox sandbox;
    {
        TRegistry writer;
        writer.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(writer.OpenKey("SOFTWARE\\Tunestead Tests\\Windows\\CurrentVersion", true));
        writer.WriteString("RegisteredOwner", "Ann");
    }
    TRootRegIniFile reader("\\SOFTWARE\\Tunestead Tests\\Windows", HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reader.RootKey(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reader.ReadString("CurrentVersion", "RegisteredOwner", "Failure"), "Ann");
    EXPECT_EQ(reader.ReadString("CurrentVersion", "RegisteredOrganization", "Failure"), "Failure");

    TRootRegIniFile elsewhere("\\SOFTWARE\\Tunestead Tests\\Windows", HKEY_CURRENT_USER);
    EXPECT_EQ(elsewhere.ReadString("CurrentVersion", "RegisteredOwner", "Failure"), "Failure");
}
