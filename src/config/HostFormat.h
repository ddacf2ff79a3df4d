// The monitoring hosts the sensor answers, and how each is named.
#pragma once

#include <string>

// One value per host format; FLAVOUR= and the program's name select one.
enum class HostFormat {
    ExeXml,    // PRTG's EXE/XML sensor, the default
    Kestrel,   // PRTG's XML, profile at the named place
    Pinewood,  // "Message." / "Statistic." text
    Juniper,   // "> name: value" text
    Bramble,   // PRTG's XML, profile at the named place
    Nagios,    // a monitoring plugin's status line
    Checkmk,   // Checkmk local check lines
    ScriptV2,  // PRTG Script v2 JSON (PRTG's Multi-Platform Probe)
    Prometheus,  // Prometheus text format (node_exporter's textfile collector)
};

// How a format's document comes about: built and streamed as the run goes
// (PRTG's XML and text, the plugin's status line), or written once from the
// run's whole report at its end.
enum class DocumentForm { PrtgXml, PrtgText, PluginStatus, WholeRun };

// The name FLAVOUR= takes (any letter case) and messages show: "EXEXML", "Checkmk".
std::string HostFormatName(HostFormat format);
DocumentForm FormOf(HostFormat format);

// The format FLAVOUR= names, compared without regard to letter case; false for an unknown name.
bool FindHostFormat(const std::string& name, HostFormat& format);

// The format without FLAVOUR=, by the program's file name: "check_..." is a
// monitoring plugin (Nagios), "spacewarden_local..." a Checkmk local check,
// any other name PRTG's EXE/XML sensor.
HostFormat DefaultHostFormat(const std::string& programPath);
