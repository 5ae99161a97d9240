#include "settings/RegAppC.h"

namespace {

platform::HKEY RootOf(TRegistryHive hive) {
    switch (hive) {
    case rhAllUsers:
        return platform::HKEY_USERS;
    case rhMachine:
        return platform::HKEY_LOCAL_MACHINE;
    case rhCurrentUser:
        break;
    }
    return platform::HKEY_CURRENT_USER;
}

} // namespace

// Opens the key for one value operation when the component is not active, and closes it again
// when the operation ends, also when it ends with an error.
class TRegApp::TTemporaryActivation {
public:
    explicit TTemporaryActivation(TRegApp& owner) : FOwner(owner), FWasActive(owner.Active()) {
        FOwner.SetActive(true);
    }
    ~TTemporaryActivation() {
        if (!FWasActive)
            FOwner.SetActive(false);
    }
    TTemporaryActivation(const TTemporaryActivation&) = delete;
    TTemporaryActivation& operator=(const TTemporaryActivation&) = delete;

private:
    TRegApp& FOwner;
    bool FWasActive;
};

TRegApp::TRegApp(TComponent* owner) : TComponent(owner), FRegistry(std::make_unique<TRegistry>()) {}

TRegApp::~TRegApp() {
    SetActive(false);
}

std::string TRegApp::BuildKeyPath() const {
    std::string path;
    if (FRootKey == rhAllUsers)
        path += ".DEFAULT\\";
    path += "SOFTWARE\\";
    path += FCompany.empty() ? std::string("TESTCOMPANY") : FCompany;
    path += "\\";
    path += FApplicationName.empty() ? std::string("TESTAPPLICATION") : FApplicationName;
    path += "\\";
    path += FVersion.empty() ? std::string("1.0a") : FVersion;
    if (!FRelativePath.empty())
        path += "\\" + FRelativePath;
    return path;
}

void TRegApp::SetActive(bool active) {
    if (active == FActive)
        return;
    if (!active) {
        FRegistry->CloseKey();
        FActive = false;
        return;
    }
    FRegistry->SetRootKey(RootOf(FRootKey));
    const std::string path = BuildKeyPath();
    FRegistry->CreateKey(path);
    // A key that was just created but cannot be opened leaves the component active without an
    // open key: its reads then find nothing and its writes fail.
    FRegistry->OpenKey(path, true);
    FActive = true;
}

template <typename TValue>
void TRegApp::SetPathProperty(TValue& field, const TValue& value) {
    if (field == value)
        return;
    if (!FActive) {
        field = value;
        return;
    }
    SetActive(false);
    field = value;
    SetActive(true);
}

void TRegApp::SetRootKey(TRegistryHive rootKey) {
    SetPathProperty(FRootKey, rootKey);
}

void TRegApp::SetCompany(const std::string& company) {
    SetPathProperty(FCompany, company);
}

void TRegApp::SetApplicationName(const std::string& applicationName) {
    SetPathProperty(FApplicationName, applicationName);
}

void TRegApp::SetVersion(const std::string& version) {
    SetPathProperty(FVersion, version);
}

void TRegApp::SetRelativePath(const std::string& relativePath) {
    SetPathProperty(FRelativePath, relativePath);
}

void TRegApp::DeleteValue(const std::string& name) {
    TTemporaryActivation activation(*this);
    FRegistry->DeleteValue(name);
}

bool TRegApp::ReadBool(const std::string& name) {
    return ReadInteger(name) != 0;
}

int TRegApp::ReadInteger(const std::string& name) {
    TTemporaryActivation activation(*this);
    return FRegistry->ReadInteger(name);
}

std::string TRegApp::ReadString(const std::string& name) {
    TTemporaryActivation activation(*this);
    return FRegistry->ReadString(name);
}

bool TRegApp::ValueExists(const std::string& name) {
    TTemporaryActivation activation(*this);
    return FRegistry->ValueExists(name);
}

void TRegApp::WriteBool(const std::string& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void TRegApp::WriteInteger(const std::string& name, int value) {
    TTemporaryActivation activation(*this);
    FRegistry->WriteInteger(name, value);
}

void TRegApp::WriteString(const std::string& name, const std::string& value) {
    TTemporaryActivation activation(*this);
    FRegistry->WriteString(name, value);
}

TRegAppUserConfig::TRegAppUserConfig(TComponent* owner) : TRegApp(owner) {
    SetRootKey(rhCurrentUser);
}
