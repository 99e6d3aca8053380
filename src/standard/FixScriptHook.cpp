#include "standard/FixScriptHook.h"

#include <atomic>

namespace FixScriptHook {
namespace {
std::atomic<Writer> g_writer{nullptr};
}

void Set(Writer writer)
{
    g_writer.store(writer);
}

Writer Get()
{
    return g_writer.load();
}

} // namespace FixScriptHook
