#include "output/ResultDocument.h"

#include "config/RunSettings.h"
#include "output/Console.h"
#include "output/StandardOutput.h"

std::string ResultDocument;

namespace {

bool IsXmlFlavour() {
    const std::string& flavour = RunSettings.HostFlavour;
    return flavour == "EXEXML" || flavour == "Bramble" || flavour == "Kestrel";
}

bool IsTextFlavour() { return RunSettings.HostFlavour == "Pinewood" || RunSettings.HostFlavour == "Juniper"; }

}  // namespace

void EmptyDocument() { ResultDocument.clear(); }

void AppendToDocument(std::string_view text) {
    std::size_t room = ResultDocumentRoom - ResultDocument.size();
    ResultDocument.append(text.substr(0, room));
}

void BeginDocument() {
    if (IsXmlFlavour())
        ResultDocument = "\n<Prtg>\n";
    else if (IsTextFlavour())
        EmptyDocument();
}

void BeginText() {
    if (IsXmlFlavour())
        AppendToDocument("\n<Text>");
    else if (IsTextFlavour())
        AppendToDocument("\n# ");
}

void EndText() {
    if (IsXmlFlavour())
        AppendToDocument("</Text>\n");
    else if (RunSettings.HostFlavour == "Juniper" && ParameterHas("CH="))
        EmptyDocument();  // a single selected channel makes up the whole document
}

void EndDocument() {
    if (IsXmlFlavour())
        AppendToDocument("\n</Prtg>\n");
    else if (IsTextFlavour())
        AppendToDocument("\n");
}

void WriteErrorDocument(std::string_view errorText) {
    std::string document = "<Prtg>";
    document += "\n<Error>1</Error>";
    document += "\n<Text>";
    document += errorText.substr(0, MessageTextRoom);
    document += "</Text>";
    document += "\n</Prtg>\n";
    ResultDocument = document;
}

void WriteDocument() { WriteOut(ResultDocument); }

void WriteDocumentLine() { WriteOut(ResultDocument + "\n"); }
