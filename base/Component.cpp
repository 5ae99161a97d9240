#include "base/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : FOwner(owner) {
    if (FOwner != nullptr)
        FOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    // Owned components go first, newest first; each takes itself off this list.
    while (!FComponents.empty())
        delete FComponents.back();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* component) {
    FComponents.push_back(component);
}

void TComponent::RemoveComponent(TComponent* component) {
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component),
                      FComponents.end());
}
