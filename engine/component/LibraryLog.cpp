#include "component/LibraryLog.h"

#include <algorithm>
#include <shared_mutex>
#include <vector>

#include "binding/Binding.h"
#include "binding/LogBridge.h"

namespace tavrin {
namespace {

// Deliveries share the list: a component event that makes the libraries log on another
// thread then cannot deadlock against a delivery waiting for that component.
struct ComponentRegistry {
    std::shared_mutex mutex;
    std::vector<TLibraryLogListener*> components;
};

// Never destroyed: components that live in static storage unregister during exit.
ComponentRegistry& Registry() {
    static auto* registry = new ComponentRegistry;
    return *registry;
}

}  // namespace

void RegisterComponent(TLibraryLogListener* listener) {
    std::unique_lock l(Registry().mutex);
    Registry().components.push_back(listener);
}

void UnregisterComponent(TLibraryLogListener* listener) {
    std::unique_lock l(Registry().mutex);
    auto& c = Registry().components;
    c.erase(std::remove(c.begin(), c.end(), listener), c.end());
}

TLogList& PendingLogLines() {
    static auto* list = new TLogList;
    return *list;
}

void InstallLibraryLogCallback() { InstallLibraryLogSink(&LibraryLogCallback); }

void LibraryLogCallback(int libraryLevel, const std::string& prefix, const std::string& text) {
    if (libraryLevel > LibraryLogLevel())
        return;
    std::shared_lock l(Registry().mutex);
    const auto thread = std::this_thread::get_id();
    const int level = LibraryLevelToVerbosity(libraryLevel);
    for (const std::string& line : PendingLogLines().Append(thread, prefix, text))
        for (TLibraryLogListener* listener : Registry().components)
            listener->DeliverLibraryLine(thread, level, line);
}

}  // namespace tavrin
