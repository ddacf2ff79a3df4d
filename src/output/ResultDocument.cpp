#include "output/ResultDocument.h"

#include <atomic>

#include "config/RunSettings.h"
#include "output/Console.h"
#include "output/PluginStatus.h"
#include "output/ReportOutput.h"
#include "output/StandardOutput.h"

std::string ResultDocument;

namespace {

bool IsTextFlavour() { return FormOf(RunSettings.HostFlavour) == DocumentForm::PrtgText; }

// Set once the opening of an XML document is on standard output and its
// closing is not; the watchdog reads it too.
std::atomic<bool> DocumentOpeningWritten{false};

std::string_view EscapedForm(const char& c) {
    switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '\t': case '\n': case '\r': return std::string_view(&c, 1);
        default:
            // No XML reader takes the other control characters, NUL among them
            // (an RFC message or a trace hint may hold one): a blank stands in for each.
            if (c >= '\0' && c < ' ') return " ";
            return std::string_view(&c, 1);
    }
}

}  // namespace

bool IsXmlFlavour() {
    return FormOf(RunSettings.HostFlavour) == DocumentForm::PrtgXml;
}

std::string EscapeMarkup(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char& c : text) escaped += EscapedForm(c);
    return escaped;
}

void EmptyDocument() { ResultDocument.clear(); }

void AppendToDocument(std::string_view text) {
    std::size_t room = ResultDocumentRoom - ResultDocument.size();
    ResultDocument.append(text.substr(0, room));
}

void AppendTextToDocument(std::string_view text) {
    if (IsPluginFlavour()) {
        AppendPluginText(text);  // the text of the status line
        return;
    }
    if (!IsXmlFlavour()) {
        AppendToDocument(text);
        return;
    }
    for (const char& c : text) {
        std::string_view form = EscapedForm(c);
        if (ResultDocument.size() + form.size() > ResultDocumentRoom) return;
        ResultDocument += form;
    }
}

void BeginDocument() {
    if (IsXmlFlavour()) {
        ResultDocument = "\n<Prtg>\n";
    } else if (IsTextFlavour()) {
        EmptyDocument();
    } else if (IsPluginFlavour()) {
        EmptyDocument();
        BeginPluginStatus();
    }
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
    else if (RunSettings.HostFlavour == HostFormat::Juniper && ParameterHas("CH="))
        EmptyDocument();  // a single selected channel makes up the whole document
}

void EndDocument() {
    if (IsXmlFlavour())
        AppendToDocument("\n</Prtg>\n");
    else if (IsTextFlavour())
        AppendToDocument("\n");
    else if (IsPluginFlavour())
        ResultDocument = PluginStatusLine(ResultDocumentRoom);
}

std::string ErrorDocument(std::string_view errorText) {
    // Monitoring plugins answer with a status line, errors too.
    if (IsPluginFlavour()) return PluginErrorLine(errorText);
    // The hosts that read a whole report get it with the error.
    if (WritesWholeReport()) return ReportErrorDocument(errorText);
    std::string document = DocumentOpeningWritten ? "" : "<Prtg>\n";
    document += "<Error>1</Error>";
    document += "\n<Text>";
    document += EscapeMarkup(errorText.substr(0, MessageTextRoom));
    document += "</Text>";
    document += "\n</Prtg>\n";
    return document;
}

namespace {
std::string LastError;
}  // namespace

const std::string& LastErrorText() { return LastError; }

void WriteErrorDocument(std::string_view errorText) {
    LastError = std::string(errorText.substr(0, MessageTextRoom));
    ResultDocument = ErrorDocument(errorText);
    if (IsPluginFlavour()) NotePluginError(errorText);
}

void NoteDocumentOpeningWritten() { DocumentOpeningWritten = IsXmlFlavour(); }

void ForgetDocumentOpening() { DocumentOpeningWritten = false; }

void WriteDocument() { WriteDocumentOut(ResultDocument); }

// A status line ends in its own line end, and a streamed run's opening is empty.
void WriteDocumentLine() {
    if (IsPluginFlavour())
        WriteDocumentOut(ResultDocument);
    else
        WriteOut(ResultDocument + "\n");
}
