#include "host/db/ServerText.h"

#include "host/HostJournal.h"

namespace {

HostJournal<std::string>& sentTexts()
{
    static HostJournal<std::string> journal;
    return journal;
}

}  // namespace

std::string DBServerText::read(const std::string& sent)
{
    std::string stored;
    stored.reserve(sent.size());
    for (size_t i = 0; i < sent.size(); ++i) {
        if (sent[i] == '\\' && sent.compare(i + 1, 2, "\r\n") == 0) {
            i += 2;
            continue;
        }
        stored += sent[i];
    }
    return stored;
}

std::vector<std::string> DBServerText::sent() { return sentTexts().entries(); }

void DBServerText::clearSent() { sentTexts().clear(); }

void DBServerText::recordSent(const std::string& text) { sentTexts().add(text); }
