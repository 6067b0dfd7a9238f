// A per-instance object of a repeated capability (an output phase): its names and its place in
// the driver tree.
#pragma once

#include <atomic>
#include <string>

#include "core/node.h"

namespace zpv::driver {
class CDriver;
}

namespace zpv::repcap {

class CRepCap : public driver::CNode {
public:
    const std::string& PhysicalName() const { return physicalName_; }
    ULONG Index() const { return index_; }
    driver::CNode* Parent() const { return parent_; }
    driver::CDriver& Root() const { return *root_; }

    // "ZPV4870OutputPhase[OutputPhase1]", prefixed by the parent's full name when it has one.
    const std::string& FullName();

    // The class name ("ZPV4870OutputPhase") and the repeated capability name ("OutputPhase").
    virtual const char* ClassName() const = 0;
    virtual const char* RepCapName() const = 0;

    // Set once when the driver creates the object.
    void Attach(driver::CNode* parent, driver::CDriver* root, std::string physicalName, ULONG index) {
        parent_ = parent;
        root_ = root;
        physicalName_ = std::move(physicalName);
        index_ = index;
        attached_ = true;
    }
    // The driver closed: an object a caller still holds answers as not initialized from now on,
    // also after the driver is initialized again (which makes new objects).
    void Detach() { attached_ = false; }
    bool Attached() const { return attached_; }

    // The object's identity, for references handed out (each holds the driver).
    virtual IUnknown* ObjectUnknown() = 0;
    // The driver's own hold, given up at Close or when the driver goes.
    virtual void ReleaseOwnership() = 0;

private:
    std::string physicalName_;
    ULONG index_ = 0;
    std::string fullName_;
    driver::CNode* parent_ = nullptr;
    driver::CDriver* root_ = nullptr;
    std::atomic<bool> attached_{false};
};

// Binds the framework to a concrete per-instance class T.
template <class T>
class _RepCap : public CRepCap {};

}  // namespace zpv::repcap
