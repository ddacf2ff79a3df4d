// The table of host formats: every format a name, a writer and traits that
// agree with one another; the names FLAVOUR= and the program's name select.
#include <doctest/doctest.h>

#include <memory>
#include <set>
#include <string>

#include "config/HostFormat.h"
#include "config/RunSettings.h"
#include "output/ReportWriter.h"

TEST_CASE("every format of the table: a name of its own, its writer, traits that agree") {
    std::set<std::string> names;
    for (const HostFormat format : AllHostFormats()) {
        const HostFormatTraits& traits = TraitsOf(format);
        CAPTURE(traits.Name);
        CHECK(traits.Format == format);
        CHECK(names.insert(UpperAscii(traits.Name)).second);
        HostFormat found{};
        REQUIRE(FindHostFormat(UpperAscii(traits.Name), found));
        CHECK(found == format);
        // Its writer, as a run makes it.
        RunSettingsRecord settings;
        settings.HostFlavour = format;
        REQUIRE(static_cast<bool>(traits.MakeWriter));
        const std::unique_ptr<ReportWriter> writer = traits.MakeWriter(settings);
        REQUIRE(writer != nullptr);
        // A format that does not stream has its whole report to give: it goes on past a failed system.
        if (!traits.StreamsSystems) CHECK(traits.GoesOnPastFailedSystem);
        // PRTG's XML streams; its parser needs the quiet fatal report.
        if (traits.PrtgXml) CHECK((traits.StreamsSystems && traits.QuietFatalReport));
        // Host levels are a kind of judging; the plugin's command line judges too.
        if (traits.HostLevels || traits.PluginCommandLine) CHECK(traits.JudgesThresholds);
        // Console lines after a status line are the plugin's; a whole document has none.
        if (!traits.StreamsSystems) CHECK_FALSE(traits.VerboseLines);
    }
    CHECK(names.size() == 9);
}

TEST_CASE("the format chosen without FLAVOUR=, by name and by trait") {
    const std::pair<const char*, const char*> programs[] = {
        {"check_spacewarden", "Nagios"}, {"C:\\PRTG\\SpaceWarden.exe", "EXEXML"},
        {"/usr/lib/check_mk_agent/local/spacewarden_local", "Checkmk"}, {"", "EXEXML"},
    };
    for (const auto& [program, name] : programs) CHECK(HostFormatName(DefaultHostFormat(program)) == name);
    CHECK(HostFormatName(FirstFormatWith(&HostFormatTraits::Textfile)) == "Prometheus");
    CHECK(HostFormatName(FirstFormatWith(&HostFormatTraits::PluginCommandLine)) == "Nagios");
    HostFormat found{};
    for (const char* unknown : {"", "Icinga", "EXEXML ", "nagios2"}) CHECK_FALSE(FindHostFormat(unknown, found));
    CHECK(FindHostFormat("scriptv2", found));
    CHECK(HostFormatName(found) == "ScriptV2");
}
