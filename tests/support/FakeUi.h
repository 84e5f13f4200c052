#pragma once
// Test doubles for the user-message and file-dialog seams: they record every
// text shown and answer questions and dialogs from a script.
#include "UserMessages.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zk::test {

class RecordingMessages : public UserMessages {
public:
    struct Entry {
        enum Kind { Notice, Confirm, Error, SaveQuestion } kind;
        std::string text;
        std::string detail; // a notice's detail, if it has one
    };

    void notice(const std::string& text) override { record(Entry::Notice, text); }
    void noticeWithDetail(const std::string& text, const std::string& detail) override
    {
        record(Entry::Notice, text, detail);
    }
    bool confirm(const std::string& text) override
    {
        record(Entry::Confirm, text);
        if (answers.empty())
            return false; // closing the box counts as No
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void error(const std::string& text) override { record(Entry::Error, errorBoxText(text)); }
    SaveChoice askToSave(const std::string& text) override
    {
        record(Entry::SaveQuestion, text);
        // Unscripted, unsaved changes are let go, so tests of what follows
        // the question need not answer it.
        if (saveAnswers.empty())
            return SaveChoice::Discard;
        const SaveChoice answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    std::vector<std::string> texts(Entry::Kind kind) const
    {
        std::vector<std::string> out;
        for (const auto& e : entries)
            if (e.kind == kind)
                out.push_back(e.text);
        return out;
    }
    std::vector<std::string> notices() const { return texts(Entry::Notice); }
    std::vector<std::string> errors() const { return texts(Entry::Error); }
    std::vector<std::string> questions() const { return texts(Entry::Confirm); }
    std::vector<std::string> saveQuestions() const { return texts(Entry::SaveQuestion); }
    void clear() { entries.clear(); }

    std::vector<Entry> entries;
    std::deque<bool> answers;  // answers to confirm(), in order
    std::deque<SaveChoice> saveAnswers; // answers to askToSave(), in order
    std::function<void(const Entry&)> onMessage; // runs while the "box" is up

private:
    void record(Entry::Kind kind, const std::string& text, const std::string& detail = {})
    {
        entries.push_back(Entry{kind, text, detail});
        if (onMessage)
            onMessage(entries.back());
    }
};

class ScriptedFileDialogs : public FileDialogs {
public:
    struct Request {
        bool save;
        std::string title;
        std::string filter;
    };

    std::optional<std::string> openFile(const std::string& title, const std::string& filter) override
    {
        return answer(false, title, filter);
    }
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter) override
    {
        return answer(true, title, filter);
    }

    void startNextIn(const std::string& folder, const std::string& name) override
    {
        startPlaces.push_back({folder, name});
    }

    std::vector<Request> requests;
    std::deque<std::optional<std::string>> answers; // nullopt = Cancel
    std::vector<std::pair<std::string, std::string>> startPlaces; // folder, proposed name

private:
    std::optional<std::string> answer(bool save, const std::string& title, const std::string& filter)
    {
        requests.push_back({save, title, filter});
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

} // namespace zk::test
