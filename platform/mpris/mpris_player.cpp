// The music player over MPRIS on the D-Bus session bus, through GIO's
// GDBusProxy. Each call waits at most 500 ms; a failure leaves things as they
// were, as the demo sends its commands blind.

#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/player_link.h"

namespace {

constexpr int answerTimeout = 500;  // milliseconds
constexpr const char* mprisPrefix = "org.mpris.MediaPlayer2.";
constexpr const char* mprisPath = "/org/mpris/MediaPlayer2";
constexpr const char* playerInterface = "org.mpris.MediaPlayer2.Player";
constexpr double volumeStep = 0.01;

struct ObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename Object>
using Owned = std::unique_ptr<Object, ObjectRelease>;

struct VariantRelease {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
using Variant = std::unique_ptr<GVariant, VariantRelease>;

// DBUS_SESSION_BUS_ADDRESS, else the per-user socket; never the launch of a
// new bus, which would outlive the program.
std::string sessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address != nullptr && *address != '\0')
        return address;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') return {};
    const std::string socket = std::string(runtime) + "/bus";
    std::error_code ignored;
    if (!std::filesystem::exists(socket, ignored)) return {};
    gchar* escaped = g_dbus_address_escape_value(socket.c_str());
    std::string address = std::string("unix:path=") + escaped;
    g_free(escaped);
    return address;
}

Owned<GDBusConnection> connectToSessionBus() {
    const std::string address = sessionBusAddress();
    if (address.empty()) return nullptr;
    constexpr auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    GError* error = nullptr;
    GDBusConnection* connection =
        g_dbus_connection_new_for_address_sync(address.c_str(), flags, nullptr, nullptr, &error);
    g_clear_error(&error);
    return Owned<GDBusConnection>(connection);
}

Owned<GDBusProxy> proxyFor(GDBusConnection* connection, const char* name, const char* path, const char* interface) {
    constexpr auto flags =
        static_cast<GDBusProxyFlags>(G_DBUS_PROXY_FLAGS_DO_NOT_LOAD_PROPERTIES |
                                     G_DBUS_PROXY_FLAGS_DO_NOT_CONNECT_SIGNALS | G_DBUS_PROXY_FLAGS_DO_NOT_AUTO_START);
    GError* error = nullptr;
    GDBusProxy* proxy = g_dbus_proxy_new_sync(connection, flags, nullptr, name, path, interface, nullptr, &error);
    g_clear_error(&error);
    if (proxy != nullptr) g_dbus_proxy_set_default_timeout(proxy, answerTimeout);
    return Owned<GDBusProxy>(proxy);
}

// The answer, or null when the call failed or timed out. parameters is consumed.
Variant call(GDBusProxy* proxy, const char* method, GVariant* parameters) {
    GError* error = nullptr;
    GVariant* answer = g_dbus_proxy_call_sync(proxy, method, parameters, G_DBUS_CALL_FLAGS_NO_AUTO_START, answerTimeout,
                                              nullptr, &error);
    g_clear_error(&error);
    return Variant(answer);
}

bool nameHasOwner(GDBusProxy* bus, const std::string& name) {
    Variant answer = call(bus, "NameHasOwner", g_variant_new("(s)", name.c_str()));
    gboolean owned = FALSE;
    if (answer) g_variant_get(answer.get(), "(b)", &owned);
    return owned != FALSE;
}

std::string firstMprisName(GDBusProxy* bus) {
    Variant answer = call(bus, "ListNames", nullptr);
    if (!answer) return {};
    std::vector<std::string> players;
    GVariantIter* names = nullptr;
    g_variant_get(answer.get(), "(as)", &names);
    for (const gchar* name = nullptr; g_variant_iter_next(names, "&s", &name);)
        if (g_str_has_prefix(name, mprisPrefix)) players.emplace_back(name);
    g_variant_iter_free(names);
    if (players.empty()) return {};
    return *std::min_element(players.begin(), players.end());
}

// KVOR_PLAYER when set (and on the bus), else the first MPRIS name.
std::string chosenPlayerName(GDBusConnection* connection) {
    Owned<GDBusProxy> bus =
        proxyFor(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus");
    if (!bus) return {};
    if (const char* wanted = std::getenv("KVOR_PLAYER"); wanted != nullptr && *wanted != '\0')
        return nameHasOwner(bus.get(), wanted) ? std::string(wanted) : std::string();
    return firstMprisName(bus.get());
}

class MprisPlayer : public platform::PlayerLink {
public:
    MprisPlayer(Owned<GDBusConnection> connection, const std::string& name)
        : connection(std::move(connection)),
          root(proxyFor(this->connection.get(), name.c_str(), mprisPath, "org.mpris.MediaPlayer2")),
          player(proxyFor(this->connection.get(), name.c_str(), mprisPath, playerInterface)),
          properties(proxyFor(this->connection.get(), name.c_str(), mprisPath, "org.freedesktop.DBus.Properties")) {
        volume = readVolume();
    }

    bool complete() const { return root && player && properties; }

    void command(WPARAM id) override {
        switch (id) {
            case platform::playerVolumeUp: changeVolume(volumeStep); break;
            case platform::playerVolumeDown: changeVolume(-volumeStep); break;
            case platform::playerPlay: call(player.get(), "Play", nullptr); break;
            case platform::playerClose: call(root.get(), "Quit", nullptr); break;
            default: break;
        }
    }

    void pause() override { call(player.get(), "Pause", nullptr); }
    void resume() override { call(player.get(), "Play", nullptr); }
    // SetPosition names the track it applies to, in microseconds.
    void setPosition(double seconds) override {
        const std::string track = trackId();
        if (track.empty()) return;
        const auto microseconds = static_cast<gint64>(std::llround(std::max(seconds, 0.0) * 1e6));
        call(player.get(), "SetPosition", g_variant_new("(ox)", track.c_str(), microseconds));
    }

private:
    // The playing track's mpris:trackid, empty when the player gives none.
    std::string trackId() {
        if (!properties) return {};
        Variant answer = call(properties.get(), "Get", g_variant_new("(ss)", playerInterface, "Metadata"));
        if (!answer) return {};
        GVariant* value = nullptr;
        g_variant_get(answer.get(), "(v)", &value);
        const Variant metadata(value);
        const Variant track(g_variant_lookup_value(value, "mpris:trackid", nullptr));
        if (!track || !(g_variant_is_of_type(track.get(), G_VARIANT_TYPE_OBJECT_PATH) ||
                        g_variant_is_of_type(track.get(), G_VARIANT_TYPE_STRING)))
            return {};
        return g_variant_get_string(track.get(), nullptr);
    }

    // A player that does not say is taken to be at full volume.
    double readVolume() {
        if (!properties) return 1.0;
        Variant answer = call(properties.get(), "Get", g_variant_new("(ss)", playerInterface, "Volume"));
        if (!answer) return 1.0;
        GVariant* value = nullptr;
        g_variant_get(answer.get(), "(v)", &value);
        const Variant owned(value);
        if (!g_variant_is_of_type(value, G_VARIANT_TYPE_DOUBLE)) return 1.0;
        return std::clamp(g_variant_get_double(value), 0.0, 1.0);
    }

    // Steps of 0.01 land on round values: a hundred steps down from 1 reach 0 exactly.
    void changeVolume(double step) {
        const double next = std::clamp(std::round((volume + step) * 1e6) / 1e6, 0.0, 1.0);
        if (next == volume) return;
        volume = next;
        call(properties.get(), "Set", g_variant_new("(ssv)", playerInterface, "Volume", g_variant_new_double(volume)));
    }

    Owned<GDBusConnection> connection;
    Owned<GDBusProxy> root;
    Owned<GDBusProxy> player;
    Owned<GDBusProxy> properties;
    double volume = 1.0;
};

}  // namespace

std::unique_ptr<platform::PlayerLink> platform::findSystemPlayer() {
    Owned<GDBusConnection> connection = connectToSessionBus();
    if (!connection) return nullptr;
    const std::string name = chosenPlayerName(connection.get());
    if (name.empty()) return nullptr;
    auto link = std::make_unique<MprisPlayer>(std::move(connection), name);
    if (!link->complete()) return nullptr;
    return link;
}
