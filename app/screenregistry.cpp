#include "app/screenregistry.h"

#include <map>

namespace {
std::map<QString, ScreenEntry> &registry()
{
    static std::map<QString, ScreenEntry> screens;
    return screens;
}
} // namespace

void RegisterScreen(const QString &trigger, OpenWay way, ScreenFactory factory)
{
    registry()[trigger] = ScreenEntry{way, std::move(factory)};
}

void UnregisterScreen(const QString &trigger)
{
    registry().erase(trigger);
}

const ScreenEntry *FindScreen(const QString &trigger)
{
    const auto it = registry().find(trigger);
    return it == registry().end() ? nullptr : &it->second;
}
