#pragma once
// Where the connection stands. `Connected` in the shared state is true in
// Connected and only there.
//
//   Idle --click--> Connecting --identity--> Connected --silence--> Reconnecting
//   Connecting --8th tick / Cancel--> Idle (Reconnecting while a reconnect loop runs)
//   Connected --click on its tile / unplugged / removed--> Idle
//   Connected --click on another tile--> Connecting
//   Reconnecting --identity--> Connected;   --click--> Connecting
namespace qireq {

enum class ConnectionPhase { Idle, Connecting, Connected, Reconnecting };

}  // namespace qireq
