#pragma once
// The music player the demo drives. FindWindowA("Winamp v1.x", NULL) asks the
// installed finder for a player and returns a handle standing for it;
// SendMessageA(handle, WM_COMMAND, id, 0) hands id to the player. By default
// the player is the system's: found over MPRIS on the D-Bus session bus on the
// desktop, the page's own player on the web; a tool with a player of its own
// (one that renders the soundtrack, say) installs a finder that returns it.
// The engine never includes this header.

#include <functional>
#include <memory>

#include "platform/layer.h"

namespace platform {

// The commands, as WM_COMMAND ids.
constexpr WPARAM playerVolumeUp = 40058;
constexpr WPARAM playerVolumeDown = 40059;
constexpr WPARAM playerPlay = 40045;
constexpr WPARAM playerClose = 40001;

class PlayerLink {
public:
    virtual ~PlayerLink() = default;
    // One command; other ids are ignored. Failures are not reported: the demo
    // looks at no answer.
    virtual void command(WPARAM id) = 0;
    // A timeline's moves (the demo sends none): pause, play on, and put the
    // track at seconds from its start. A player that cannot ignores them.
    virtual void pause() {}
    virtual void resume() {}
    virtual void setPosition(double /*seconds*/) {}
};

// Called by every FindWindowA of the player's class; null when there is no player.
using PlayerFinder = std::function<std::unique_ptr<PlayerLink>()>;
// Installs finder; an empty one puts back the system's finder.
void setPlayerFinder(PlayerFinder finder);

// The system's finder, provided by the player face. Over MPRIS: the bus name
// KVOR_PLAYER gives when set, else the first org.mpris.MediaPlayer2.* name in
// sorted order, on the session bus that DBUS_SESSION_BUS_ADDRESS (else
// $XDG_RUNTIME_DIR/bus) names. Null without a
// bus or without that player. Every call waits at most 500 ms for its answer.
// On the web: the page's player, always there.
std::unique_ptr<PlayerLink> findSystemPlayer();

}  // namespace platform
