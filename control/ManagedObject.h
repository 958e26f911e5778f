#pragma once
// Reference-counted base of every object of the control layer (controls, lists,
// graphic tools, dialogs). A new object has count 0: AddRef adds 2, Release subtracts 2
// and destroys the object when the count drops below 0, so one Release destroys a fresh
// object. An owner releases the objects registered with it, oldest registration first,
// when it is destroyed.
//
// Destruction of objects that ask for it (controls, string lists) is deferred while a
// window procedure of the layer is running: a handler that closes the main window from
// inside nested message processing keeps every control alive until the outermost
// handler has returned.
#include <memory>
#include <vector>

class ManagedObject;

// Release routine stored with an owned registration.
using ReleaseRoutine = void (*)(void* object);
// Called once when an object is destroyed, before its owned objects are released.
using DestroyNotification = void (*)(void* context, ManagedObject* object);

class ManagedObject {
public:
    ManagedObject() = default;
    virtual ~ManagedObject();
    ManagedObject(const ManagedObject&) = delete;
    ManagedObject& operator=(const ManagedObject&) = delete;

    // Sets the defaults of a new object (empty for plain objects).
    virtual void Init() {}

    void AddRef() { RefCount += 2; }
    // Destroys the object when the count drops below 0 (deferred while a handler runs,
    // for objects whose DefersDestruction is true).
    void Release();

    // The owner releases object (with ManagedObject::Release) when it is destroyed.
    void RegisterOwned(ManagedObject* object);
    // The owner calls release(object) when it is destroyed.
    void RegisterOwned(void* object, ReleaseRoutine release);
    // Forgets a registration without releasing; false when object was not registered.
    bool UnregisterOwned(void* object);
    bool IsOwned(const void* object) const;

    void SetDestroyNotification(DestroyNotification notification, void* context);

    // True from the start of destruction (also while it is deferred).
    bool IsDestroyScheduled() const { return destroyScheduled_; }

    int RefCount = 0;

protected:
    // Runs the destroy notification and releases the owned objects oldest first.
    // Overriders call it before tearing down their own state.
    virtual void Destroy();
    // Whether destruction waits for the outermost running window procedure.
    virtual bool DefersDestruction() const { return false; }

private:
    struct OwnedEntry {
        void* Object;
        ReleaseRoutine Release;
    };
    void DestroyNow();
    // Release routine of owned ManagedObjects: an object whose destruction is already
    // deferred is destroyed with its owner when no handler is running.
    static void ReleaseAsOwned(void* object);
    friend void FlushDeferredDestruction();

    std::unique_ptr<std::vector<OwnedEntry>> owned_;
    DestroyNotification notification_ = nullptr;
    void* notificationContext_ = nullptr;
    bool destroyScheduled_ = false;
};

// Registers a plain heap object that the owner deletes when it is destroyed.
template <class T>
void RegisterOwnedObject(ManagedObject* owner, T* object) {
    owner->RegisterOwned(object, [](void* p) { delete static_cast<T*>(p); });
}

// Window procedures of the layer bracket their work with these; leaving the outermost
// one destroys the objects whose destruction was deferred meanwhile.
void EnterMessageHandling();
void LeaveMessageHandling();
// Number of window procedures of the layer currently on the stack.
int MessageHandlingDepth();
// Destroys the deferred objects now (no-op while a handler is running).
void FlushDeferredDestruction();
