#include "control/ManagedObject.h"

#include <algorithm>

namespace {

int handlingDepth = 0;
bool flushing = false;
// Objects whose count dropped below 0 while a handler was running, in release order.
std::vector<ManagedObject*>& DeferredObjects() {
    static std::vector<ManagedObject*> objects;
    return objects;
}

}  // namespace

ManagedObject::~ManagedObject() = default;

void ManagedObject::Release() {
    RefCount -= 2;
    if (RefCount >= 0 || destroyScheduled_)
        return;
    destroyScheduled_ = true;
    if (DefersDestruction() && handlingDepth > 0) {
        DeferredObjects().push_back(this);
        return;
    }
    DestroyNow();
}

void ManagedObject::DestroyNow() {
    Destroy();
    delete this;
}

void ManagedObject::RegisterOwned(ManagedObject* object) {
    RegisterOwned(object, &ManagedObject::ReleaseAsOwned);
}

void ManagedObject::ReleaseAsOwned(void* object) {
    ManagedObject* owned = static_cast<ManagedObject*>(object);
    if (!owned->destroyScheduled_) {
        owned->Release();
        return;
    }
    std::vector<ManagedObject*>& deferred = DeferredObjects();
    auto found = std::find(deferred.begin(), deferred.end(), owned);
    if (found != deferred.end() && handlingDepth == 0) {
        deferred.erase(found);
        owned->DestroyNow();
    }
}

void ManagedObject::RegisterOwned(void* object, ReleaseRoutine release) {
    if (!object || !release)
        return;
    if (!owned_)
        owned_ = std::make_unique<std::vector<OwnedEntry>>();
    owned_->push_back(OwnedEntry{object, release});
}

bool ManagedObject::UnregisterOwned(void* object) {
    if (!owned_)
        return false;
    auto found = std::find_if(owned_->begin(), owned_->end(),
                              [object](const OwnedEntry& entry) { return entry.Object == object; });
    if (found == owned_->end())
        return false;
    owned_->erase(found);
    return true;
}

bool ManagedObject::IsOwned(const void* object) const {
    if (!owned_)
        return false;
    return std::any_of(owned_->begin(), owned_->end(),
                       [object](const OwnedEntry& entry) { return entry.Object == object; });
}

void ManagedObject::SetDestroyNotification(DestroyNotification notification, void* context) {
    notification_ = notification;
    notificationContext_ = context;
}

void ManagedObject::Destroy() {
    if (notification_) {
        DestroyNotification notification = notification_;
        notification_ = nullptr;
        notification(notificationContext_, this);
    }
    // Registrations made while the owned objects are being released are released too.
    while (owned_ && !owned_->empty()) {
        std::vector<OwnedEntry> entries;
        entries.swap(*owned_);
        for (const OwnedEntry& entry : entries)
            entry.Release(entry.Object);
    }
    owned_.reset();
}

void EnterMessageHandling() {
    ++handlingDepth;
}

void LeaveMessageHandling() {
    if (handlingDepth > 0)
        --handlingDepth;
    if (handlingDepth == 0)
        FlushDeferredDestruction();
}

int MessageHandlingDepth() {
    return handlingDepth;
}

void FlushDeferredDestruction() {
    if (flushing || handlingDepth > 0)
        return;
    flushing = true;
    std::vector<ManagedObject*>& deferred = DeferredObjects();
    while (!deferred.empty()) {
        ManagedObject* object = deferred.front();
        deferred.erase(deferred.begin());
        object->DestroyNow();
    }
    flushing = false;
}
