// Base of the non-visual components: an owner that destroys what it owns,
// a name, and the design state in which a component keeps its properties only.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& name) { FName = name; }

    // True while the component lives in a form designer rather than a running program.
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool designing) { FDesigning = designing; }

    std::size_t ComponentCount() const { return FComponents.size(); }
    TComponent* Components(std::size_t index) const { return FComponents[index]; }

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponent* FOwner;
    std::string FName;
    bool FDesigning = false;
    std::vector<TComponent*> FComponents;
};
