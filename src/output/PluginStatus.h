// The status line of the flavour "Nagios", as the monitoring-plugins
// development guidelines define it, for Nagios, Icinga, Naemon and the other
// hosts of monitoring plugins:
//   "SPACEWARDEN " + state + " - " + text + " | " + performance data + "\n"
// with the exit code of the state.
#pragma once

#include <string>
#include <string_view>

enum class PluginState { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 };

// True when the host flavour is "Nagios".
bool IsPluginFlavour();

// Starts a status: no text, no channels, nothing written yet.
void BeginPluginStatus();
// The run's text line, in pieces.
void AppendPluginText(std::string_view text);
// A channel of the run, numbered as the channel writer numbers them: judged
// and reported when CH= selects it or selects none.
void AddPluginChannel(unsigned number, const std::string& label, const std::string& value);
// The state is at least this (a multi-system run's failed systems).
void RaisePluginState(PluginState atLeast);

// A listed system of a multi-system run, in listing order: measured (no
// failure: its value is the channel added last) or failed, with why. A failed
// system makes the state CRITICAL and is named in the status text; each system
// gets a line of its own after the status line ("PRD: OK - Critical_Spaces=3",
// "QAS: CRITICAL - Error 1018: DataBase mismatch !").
void AddPluginSystem(const std::string& label, const std::string& failure);

// The whole status line of the run, at most `room` bytes: the state judged
// from the thresholds, the channels as performance data (those that do not
// fit are judged but left out). Sets the state for the exit code.
std::string PluginStatusLine(std::size_t room);

// The status line of an error, without performance data: CRITICAL for the
// errors of reaching and asking the SAP system (1011 to 1015, 1018, 1019),
// UNKNOWN for every other. The text is cut to 127 characters first.
std::string PluginErrorLine(std::string_view errorText);
PluginState PluginErrorState(std::string_view errorText);
// Takes the error's state for the exit code.
void NotePluginError(std::string_view errorText);

// The exit code of the status written last; UNKNOWN (3) before any.
int PluginExitCode();

// A channel's label in the performance data: in single quotes unless it holds
// letters, digits, "_", "." and "-" only; "'" and "=" become "_", "|" "/",
// a control character (a line end among them) a blank.
std::string PerformanceLabel(const std::string& label);
