// The settings component: one registry key of the program's own under a chosen root
// (SOFTWARE, company, application, version, optional relative path), with typed named values.
#pragma once

#include "base/Component.h"
#include "settings/Registry.h"

#include <memory>
#include <string>

enum TRegistryHive { rhCurrentUser, rhAllUsers, rhMachine };

class TRegApp : public TComponent {
public:
    explicit TRegApp(TComponent* owner);
    ~TRegApp() override;

    // The key path below the root, by plain concatenation of the path properties.
    std::string BuildKeyPath() const;

    // True while the key is open. Making it true creates the key if absent, then opens it.
    bool Active() const { return FActive; }
    void SetActive(bool active);

    // Changing a path property of an active component reopens the key at the new path.
    TRegistryHive RootKey() const { return FRootKey; }
    void SetRootKey(TRegistryHive rootKey);
    const std::string& Company() const { return FCompany; }
    void SetCompany(const std::string& company);
    const std::string& ApplicationName() const { return FApplicationName; }
    void SetApplicationName(const std::string& applicationName);
    const std::string& Version() const { return FVersion; }
    void SetVersion(const std::string& version);
    const std::string& RelativePath() const { return FRelativePath; }
    void SetRelativePath(const std::string& relativePath);

    // Value operations. Each works whether or not the component is active: an inactive one is
    // active for the operation's duration only. The empty name is the key's default value.
    void DeleteValue(const std::string& name);
    bool ReadBool(const std::string& name);
    int ReadInteger(const std::string& name);
    std::string ReadString(const std::string& name);
    bool ValueExists(const std::string& name);
    void WriteBool(const std::string& name, bool value);
    void WriteInteger(const std::string& name, int value);
    void WriteString(const std::string& name, const std::string& value);

private:
    class TTemporaryActivation;
    template <typename TValue>
    void SetPathProperty(TValue& field, const TValue& value);

    bool FActive = false;
    TRegistryHive FRootKey = rhCurrentUser;
    std::string FCompany = "My Company";
    std::string FApplicationName = "My Application";
    std::string FVersion = "v1.0a";
    std::string FRelativePath;
    std::unique_ptr<TRegistry> FRegistry;
};

// The settings component as placed on a form: a TRegApp on HKEY_CURRENT_USER.
class TRegAppUserConfig : public TRegApp {
public:
    explicit TRegAppUserConfig(TComponent* owner);
};
