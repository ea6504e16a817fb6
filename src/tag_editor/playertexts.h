#pragma once

// Texts of the tag editor's player.

namespace PlayerTexts {

/// Follows the volume in `vol`.
inline constexpr char kPercent[] = "%";
/// Separates minutes and seconds in `durata` and `tempo`.
inline constexpr char kTimeSeparator[] = ":";
/// The main window's status line when the editor's file cannot be played.
inline constexpr char kNotPlayableStatus[] = "FILE CORROTTO o ERRORE NON PREVISTO!";

} // namespace PlayerTexts
