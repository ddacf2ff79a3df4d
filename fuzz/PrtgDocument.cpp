#include "PrtgDocument.h"

#include <vector>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The length of the entity at `at` ("&amp;", "&#60;" ...), 0 when there is none.
std::size_t EntityLength(const std::string& text, std::size_t at) {
    for (const char* entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
        if (text.compare(at, std::char_traits<char>::length(entity), entity) == 0)
            return std::char_traits<char>::length(entity);
    }
    return 0;
}

}  // namespace

std::string PrtgDocumentProblem(const std::string& output) {
    std::vector<std::string> open;
    bool rootSeen = false;
    std::size_t at = 0;
    while (at < output.size()) {
        const char c = output[at];
        if (c == '<') {
            const bool closing = at + 1 < output.size() && output[at + 1] == '/';
            std::size_t nameStart = at + (closing ? 2 : 1);
            std::size_t nameEnd = nameStart;
            while (nameEnd < output.size() && IsNameCharacter(output[nameEnd])) ++nameEnd;
            if (nameEnd == nameStart || nameEnd >= output.size() || output[nameEnd] != '>')
                return "a \"<\" that opens no element";
            const std::string name = output.substr(nameStart, nameEnd - nameStart);
            if (closing) {
                if (open.empty() || open.back() != name) return "</" + name + "> closes no open element";
                open.pop_back();
            } else {
                if (open.empty() && rootSeen) return "junk after the document element";
                if (open.empty() && name != "Prtg") return "the root element is <" + name + ">, not <Prtg>";
                rootSeen = true;
                open.push_back(name);
            }
            at = nameEnd + 1;
        } else if (open.empty()) {
            if (!IsBlank(c)) return rootSeen ? "junk after the document element" : "text before the document element";
            ++at;
        } else if (c == '&') {
            const std::size_t length = EntityLength(output, at);
            if (length == 0) return "a raw \"&\" in a text";
            at += length;
        } else if (c >= '\0' && c < ' ' && !IsBlank(c)) {
            return "a control character, which no XML reader takes";
        } else {
            ++at;
        }
    }
    if (!rootSeen) return "no document element";
    if (!open.empty()) return std::to_string(open.size()) + " open elements";
    return "";
}
