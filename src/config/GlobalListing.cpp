#include "config/GlobalListing.h"

#include "config/ProfileLocation.h"
#include "config/RunSettings.h"

std::string ServerListing;
char LabelKind = '1';

namespace {

// Lines are read whole: a server listing line of many systems cut in pieces
// would lose its tail and join a cut name to the next line's first one.
constexpr std::size_t ListingLineBuffer = std::string::npos;
constexpr std::size_t SensorKeyLength = 10;
constexpr std::size_t PatternLength = 18;
constexpr std::size_t EntryTextColumn = 19;
constexpr std::size_t ListingTextColumn = 20;

// Marks the sensor entries of this program among those of other sensors.
const std::string SensorTag = std::string("Sensor=\"SAP ") + ProgramName + "\"";

void AppendListingText(const std::string& line) {
    if (line.size() > ListingTextColumn) ServerListing += line.substr(ListingTextColumn);
}

// A file that cannot be read to its end counts as one that cannot be opened;
// one that is there but cannot be opened says why.
std::string MissingText(const char* number, const std::string& whyNotOpened) {
    return std::string("Error ") + number + ": ProFile " + RunSettings.ProfileName + " " +
           NotOpenedWording(whyNotOpened) + "...";
}
std::string ItemProfileMissingText(const std::string& whyNotOpened = "") { return MissingText("1024", whyNotOpened); }
std::string ListingMissingText(const std::string& whyNotOpened = "") { return MissingText("10x1", whyNotOpened); }

// In the item profile the tag is compared exactly and no key is read.
std::string ReadItemProfile() {
    TextFile file;
    if (!file.Open(RunSettings.ProfilePath)) return ItemProfileMissingText(file.WhyNotOpened());
    std::string line;
    while (file.ReadLine(line, ListingLineBuffer)) {
        StripLineEnd(line);
        if (line.compare(0, 6, "# Gsng") == 0 && line.size() >= 8 && line.compare(6, 2, ": ") == 0)
            AppendListingText(line);
    }
    if (file.ReadFailed()) return ItemProfileMissingText();
    return "";
}

std::string SensorKey() {
    std::string key = RunSettings.ParameterText.substr(0, RunSettings.ParameterText.find(' '));
    key.resize(SensorKeyLength, ' ');
    return key;
}

// The label kinds are looked for in this order, so the last one found counts.
void TakeLabelKind(const std::string& line) {
    constexpr const char* Marks[] = {",Profile", ",Alias", ",Host", ",Sid"};
    for (char kind = '1'; kind <= '4'; ++kind)
        if (line.find(Marks[kind - '1']) != std::string::npos) LabelKind = kind;
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
std::string ReadListingForSensor() {
    const std::string key = SensorKey();
    const std::string listingPattern = "# GSNG: " + key;
    const std::string entryPattern = "# GSNX: " + key;

    TextFile file;
    if (!file.Open(RunSettings.ProfilePath)) return ListingMissingText(file.WhyNotOpened());

    bool entryFound = false;
    std::string entryText;
    RunSettings.ItemIdentification.clear();
    std::string line;
    while (file.ReadLine(line, ListingLineBuffer)) {
        StripLineEnd(line);
        const std::string lead = UpperAscii(line.substr(0, PatternLength));
        if (lead == listingPattern) AppendListingText(line);
        if (lead != entryPattern) continue;

        entryText = line.size() > EntryTextColumn ? line.substr(EntryTextColumn) : "";
        RunSettings.ParameterTextAsGiven = entryText;
        if (entryText.find(SensorTag) == std::string::npos) return "Error 1029: Invalid Sensor-Allocation...";
        std::string& parameters = RunSettings.ParameterTextAsGiven;
        std::size_t sensorMark = parameters.find(",Sensor=");
        if (sensorMark != std::string::npos) parameters.resize(sensorMark);
        for (char& c : parameters)
            if (c == ':') c = ' ';
        entryFound = true;
        TakeLabelKind(line);
    }
    file.Close();
    if (file.ReadFailed()) return ListingMissingText();

    if (entryText.find("Item=") != std::string::npos) RunSettings.ItemIdentification = ItemOfEntry(entryText);
    if (!entryFound) return "Error 1030: Global Sensor " + RunSettings.Argument2 + " not found...";
    return "";
}

}  // namespace

std::string ReadGlobalListing(TextFile& profileFile) {
    profileFile.Close();
    ServerListing.clear();
    LabelKind = '1';

    std::string fault = RunSettings.ProfileName == ItemProfileName ? ReadItemProfile() : ReadListingForSensor();
    if (!fault.empty()) return fault;

    if (ServerListing.empty()) return "Error 1025: Global Server Listing missing...";
    if (RunSettings.ItemIdentification.empty()) return "Error 1026: Global Item Idenification missing...";
    RunSettings.ProfilePath = RunSettings.ProfileDirectory;
    return "";
}
