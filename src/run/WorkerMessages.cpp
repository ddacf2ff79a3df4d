#include "run/WorkerMessages.h"

#include <cstdint>
#include <cstdlib>

#include "config/CriticalNamesOptions.h"

namespace {

constexpr const char* TaskMark = "SpaceWarden task 2";
constexpr const char* AnswerMark = "SpaceWarden answer 2";

class Writer {
public:
    Writer& operator<<(const std::string& field) {
        bytes_ += std::to_string(field.size()) + ":" + field;
        return *this;
    }
    Writer& operator<<(long long number) { return *this << std::to_string(number); }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool Take(std::string& field) {
        const std::size_t colon = bytes_.find(':', at_);
        if (!good_ || colon == std::string::npos || colon == at_ || colon - at_ > 9) return good_ = false;
        for (std::size_t i = at_; i < colon; ++i)
            if (bytes_[i] < '0' || bytes_[i] > '9') return good_ = false;
        const std::size_t length = std::strtoul(bytes_.substr(at_, colon - at_).c_str(), nullptr, 10);
        if (bytes_.size() - colon - 1 < length) return good_ = false;
        field = bytes_.substr(colon + 1, length);
        at_ = colon + 1 + length;
        return true;
    }
    bool Take(long long& number) {
        std::string field;
        if (!Take(field) || field.empty() || field.size() > 20) return good_ = false;
        char* end = nullptr;
        number = std::strtoll(field.c_str(), &end, 10);
        return *end == '\0' || (good_ = false);
    }
    bool Take(bool& flag) {
        long long number = 0;
        if (!Take(number)) return false;
        flag = number != 0;
        return true;
    }
    bool Take(unsigned& number) {
        long long wide = 0;
        if (!Take(wide) || wide < 0 || wide > 0xFFFFFFFFLL) return good_ = false;
        number = static_cast<unsigned>(wide);
        return true;
    }
    bool Take(unsigned long long& number) {
        long long wide = 0;
        if (!Take(wide) || wide < 0) return good_ = false;
        number = static_cast<unsigned long long>(wide);
        return true;
    }
    bool Take(int& number) {
        long long wide = 0;
        if (!Take(wide) || wide < INT32_MIN || wide > INT32_MAX) return good_ = false;
        number = static_cast<int>(wide);
        return true;
    }
    bool Expect(const char* mark) {
        std::string field;
        return Take(field) && (field == mark || (good_ = false));
    }
    bool AtEnd() const { return good_ && at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
    bool good_ = true;
};

// The logon entries in the order of the record.
std::string LogonEntriesRecord::*const EntryFields[] = {
    &LogonEntriesRecord::Extcompany, &LogonEntriesRecord::Destination, &LogonEntriesRecord::Client,
    &LogonEntriesRecord::User,       &LogonEntriesRecord::Password,    &LogonEntriesRecord::Language,
    &LogonEntriesRecord::Mode,       &LogonEntriesRecord::Hostname,    &LogonEntriesRecord::Sysnr,
    &LogonEntriesRecord::Gwhost,     &LogonEntriesRecord::Gwservice,   &LogonEntriesRecord::DisplayedHostname,
};

// The named rows: how many of each kind, then each row's fields in the order of its structure.
void WriteNames(Writer& out, const CriticalNames& names) {
    out << static_cast<long long>(names.Tablespaces.size());
    for (const CriticalTablespace& row : names.Tablespaces) {
        out << row.TS;
        for (std::int32_t figure : row.Figures) out << figure;
    }
    out << static_cast<long long>(names.Objects.size());
    for (const CriticalObject& row : names.Objects) {
        out << row.ON << row.TN << row.TS;
        for (std::int32_t figure : row.Figures) out << figure;
    }
    out << static_cast<long long>(names.UnnamedTablespaces) << static_cast<long long>(names.UnnamedObjects)
        << static_cast<long long>(names.Excluded);
}

// Row counts beyond what the bytes can hold are refused before anything is reserved.
bool ReadNames(Reader& in, CriticalNames& names) {
    unsigned long long count = 0;
    if (!in.Take(count) || count > MostNamesLimit) return false;
    names.Tablespaces.resize(count);
    for (CriticalTablespace& row : names.Tablespaces) {
        if (!in.Take(row.TS)) return false;
        for (std::int32_t& figure : row.Figures)
            if (!in.Take(figure)) return false;
    }
    if (!in.Take(count) || count > MostNamesLimit) return false;
    names.Objects.resize(count);
    for (CriticalObject& row : names.Objects) {
        if (!in.Take(row.ON) || !in.Take(row.TN) || !in.Take(row.TS)) return false;
        for (std::int32_t& figure : row.Figures)
            if (!in.Take(figure)) return false;
    }
    return in.Take(names.UnnamedTablespaces) && in.Take(names.UnnamedObjects) && in.Take(names.Excluded);
}

}  // namespace

std::string Framed(const std::string& message) { return std::to_string(message.size()) + ":" + message; }

bool TakeFramed(std::string& received, std::string& message, bool& broken) {
    broken = false;
    const std::size_t colon = received.find(':');
    const std::size_t digits = colon == std::string::npos ? received.size() : colon;
    for (std::size_t i = 0; i < digits; ++i)
        if (received[i] < '0' || received[i] > '9') broken = true;
    if (digits > 9 || (colon == 0)) broken = true;
    if (broken || colon == std::string::npos) return false;
    const std::size_t length = std::strtoul(received.substr(0, colon).c_str(), nullptr, 10);
    if (received.size() - colon - 1 < length) return false;
    message = received.substr(colon + 1, length);
    received.erase(0, colon + 1 + length);
    return true;
}

std::string EncodeTask(const WorkerTask& task) {
    Writer out;
    out << TaskMark << task.HostFlavour << task.Options << task.WholeWordOptions << task.VerboseMode
        << task.DocumentOpeningWritten << task.GoesOn << task.CarriedSystemNumber << task.Exclude
        << static_cast<long long>(task.NamesLimit);
    for (auto field : EntryFields) out << task.Entries.*field;
    return out.Bytes();
}

bool DecodeTask(const std::string& bytes, WorkerTask& task) {
    Reader in(bytes);
    bool good = in.Expect(TaskMark) && in.Take(task.HostFlavour) && in.Take(task.Options) &&
                in.Take(task.WholeWordOptions) && in.Take(task.VerboseMode) && in.Take(task.DocumentOpeningWritten) &&
                in.Take(task.GoesOn) && in.Take(task.CarriedSystemNumber) && in.Take(task.Exclude) &&
                in.Take(task.NamesLimit);
    for (auto field : EntryFields) good = good && in.Take(task.Entries.*field);
    return good && in.AtEnd();
}

std::string EncodeAnswer(const WorkerAnswer& answer) {
    Writer out;
    out << AnswerMark << static_cast<long long>(answer.Outcome);
    for (long long value : answer.Values) out << value;
    WriteNames(out, answer.Names);
    out << answer.Failure << answer.ProbeHostKnown << answer.ProbeHost << answer.Console << answer.ExitCode
        << answer.ErrorText;
    return out.Bytes();
}

bool DecodeAnswer(const std::string& bytes, WorkerAnswer& answer) {
    Reader in(bytes);
    long long outcome = 0;
    bool good = in.Expect(AnswerMark) && in.Take(outcome) && outcome >= 0 &&
                outcome <= static_cast<long long>(WorkerOutcome::Ended);
    answer.Outcome = static_cast<WorkerOutcome>(outcome);
    for (long long& value : answer.Values) good = good && in.Take(value);
    good = good && ReadNames(in, answer.Names);
    good = good && in.Take(answer.Failure) && in.Take(answer.ProbeHostKnown) && in.Take(answer.ProbeHost) &&
           in.Take(answer.Console) && in.Take(answer.ExitCode) && in.Take(answer.ErrorText);
    return good && in.AtEnd();
}
