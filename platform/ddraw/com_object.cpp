#include "platform/ddraw/com_object.h"

namespace platform {

namespace {

// Never destroyed: shells outlive every static object that might still hold a
// pointer to one, and objects left alive at exit keep their drivers untouched
// while the process winds down.
template <typename Value>
union NeverDestroyed {
    NeverDestroyed() : value() {}
    ~NeverDestroyed() {}
    Value value;
};

}  // namespace

DisplayContext::DisplayContext(std::shared_ptr<Driver> driver, std::shared_ptr<CallWatch> watch)
    : driver(std::move(driver)), watch(std::move(watch)) {}

void keepShell(std::unique_ptr<ComShell> shell) {
    static NeverDestroyed<std::vector<std::unique_ptr<ComShell>>> shells;
    shells.value.push_back(std::move(shell));
}

}  // namespace platform
