#include "config/GlobalListing.h"

#include "config/ProfileLocation.h"
#include "config/RunSettings.h"

namespace {

// Lines are read whole: a server listing line of many systems cut in pieces
// would lose its tail and join a cut name to the next line's first one.
constexpr std::size_t ListingLineBuffer = std::string::npos;
constexpr std::size_t SensorKeyLength = 10;
constexpr std::size_t PatternLength = 18;
constexpr std::size_t EntryTextColumn = 19;
constexpr std::size_t ListingTextColumn = 20;

// Marks the sensor entries of this program among those of other sensors.
std::string SensorTag() { return std::string("Sensor=\"SAP ") + ProgramName + "\""; }

void AppendListingText(RunSettingsRecord& settings, const std::string& line) {
    if (line.size() > ListingTextColumn) settings.ServerListing += line.substr(ListingTextColumn);
}

// A file that cannot be read to its end counts as one that cannot be opened;
// one that is there but cannot be opened says why.
std::string MissingText(const RunSettingsRecord& settings, const char* number, const std::string& whyNotOpened) {
    return std::string("Error ") + number + ": ProFile " + settings.ProfileName + " " +
           NotOpenedWording(whyNotOpened) + "...";
}
std::string ItemProfileMissingText(const RunSettingsRecord& settings, const std::string& whyNotOpened = "") {
    return MissingText(settings, "1024", whyNotOpened);
}
std::string ListingMissingText(const RunSettingsRecord& settings, const std::string& whyNotOpened = "") {
    return MissingText(settings, "10x1", whyNotOpened);
}

// In the item profile the tag is compared exactly and no key is read.
std::string ReadItemProfile(RunSettingsRecord& settings) {
    TextFile file;
    if (!file.Open(settings.ProfilePath)) return ItemProfileMissingText(settings, file.WhyNotOpened());
    std::string line;
    while (file.ReadLine(line, ListingLineBuffer)) {
        StripLineEnd(line);
        if (line.compare(0, 6, "# Gsng") == 0 && line.size() >= 8 && line.compare(6, 2, ": ") == 0)
            AppendListingText(settings, line);
    }
    if (file.ReadFailed()) return ItemProfileMissingText(settings);
    return "";
}

std::string SensorKey(const RunSettingsRecord& settings) {
    std::string key = settings.ParameterText.substr(0, settings.ParameterText.find(' '));
    key.resize(SensorKeyLength, ' ');
    return key;
}

// The label kinds are looked for in this order, so the last one found counts.
void TakeLabelKind(RunSettingsRecord& settings, const std::string& line) {
    constexpr const char* Marks[] = {",Profile", ",Alias", ",Host", ",Sid"};
    for (char kind = '1'; kind <= '4'; ++kind)
        if (line.find(Marks[kind - '1']) != std::string::npos) settings.LabelKind = kind;
}

std::string ItemOfEntry(const std::string& entryText) {
    const std::string keyword = "Item=";
    std::size_t position = entryText.find(keyword);
    if (position == std::string::npos) return "";
    std::string item = entryText.substr(position + keyword.size(), ItemRoom);
    std::size_t stop = item.find_first_of(" ,");
    if (stop != std::string::npos) item.resize(stop);
    for (char& c : item)
        if (c == ':') c = ' ';
    return item;
}

// The sensor's own entry in the global listing gives the item, the label kind
// and the options; the server listing lines with its key give the systems.
std::string ReadListingForSensor(RunSettingsRecord& settings) {
    const std::string key = SensorKey(settings);
    const std::string listingPattern = "# GSNG: " + key;
    const std::string entryPattern = "# GSNX: " + key;

    TextFile file;
    if (!file.Open(settings.ProfilePath)) return ListingMissingText(settings, file.WhyNotOpened());

    bool entryFound = false;
    std::string entryText;
    settings.ItemIdentification.clear();
    std::string line;
    while (file.ReadLine(line, ListingLineBuffer)) {
        StripLineEnd(line);
        const std::string lead = UpperAscii(line.substr(0, PatternLength));
        if (lead == listingPattern) AppendListingText(settings, line);
        if (lead != entryPattern) continue;

        entryText = line.size() > EntryTextColumn ? line.substr(EntryTextColumn) : "";
        settings.ParameterTextAsGiven = entryText;
        if (entryText.find(SensorTag()) == std::string::npos) return "Error 1029: Invalid Sensor-Allocation...";
        std::string& parameters = settings.ParameterTextAsGiven;
        std::size_t sensorMark = parameters.find(",Sensor=");
        if (sensorMark != std::string::npos) parameters.resize(sensorMark);
        for (char& c : parameters)
            if (c == ':') c = ' ';
        entryFound = true;
        TakeLabelKind(settings, line);
    }
    file.Close();
    if (file.ReadFailed()) return ListingMissingText(settings);

    if (entryText.find("Item=") != std::string::npos) settings.ItemIdentification = ItemOfEntry(entryText);
    if (!entryFound) return "Error 1030: Global Sensor " + settings.Argument2 + " not found...";
    return "";
}

}  // namespace

std::string ReadGlobalListing(RunSettingsRecord& settings, TextFile& profileFile) {
    profileFile.Close();
    settings.ServerListing.clear();
    settings.LabelKind = '1';

    std::string fault =
        settings.ProfileName == ItemProfileName ? ReadItemProfile(settings) : ReadListingForSensor(settings);
    if (!fault.empty()) return fault;

    if (settings.ServerListing.empty()) return "Error 1025: Global Server Listing missing...";
    if (settings.ItemIdentification.empty()) return "Error 1026: Global Item Idenification missing...";
    settings.ProfilePath = settings.ProfileDirectory;
    return "";
}
