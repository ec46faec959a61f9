#pragma once

// Test doubles for the platform seams other than the file system.

#include <deque>
#include <map>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/Registry.h"
#include "platform/Timers.h"
#include "platform/UserMessages.h"

namespace pondrel::test {

// Answers message boxes from a queue (Ok, or Yes for Yes/No boxes, when the queue is empty; a
// test that cares queues its answers) and records every box and notice shown.
class ScriptedMessages final : public UserMessages {
public:
    struct Box {
        std::u16string text;
        std::u16string caption;
        BoxButtons buttons;
        BoxIcon icon;
        BoxAnswer answer;
    };
    struct Notice {
        std::u16string text;
        int milliseconds;
        bool warning;
    };

    void Queue(BoxAnswer answer) { m_answers.push_back(answer); }
    BoxAnswer ShowBox(const std::u16string& text, const std::u16string& caption,
                      BoxButtons buttons, BoxIcon icon) override;
    void ShowNotice(const std::u16string& text, int milliseconds, bool warning) override {
        notices.push_back({text, milliseconds, warning});
    }
    size_t PendingAnswers() const { return m_answers.size(); }

    std::vector<Box> boxes;
    std::vector<Notice> notices;

private:
    std::deque<BoxAnswer> m_answers;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(DateTime when = {2006, 3, 13, 9, 41, 7}) : now(when) {}
    DateTime Now() override { return now; }
    uint64_t TickCount() override { return ticks; }

    DateTime now;
    uint64_t ticks = 0;
};

class MapRegistry final : public Registry {
public:
    std::optional<std::u16string> Value(std::u16string_view key,
                                        std::u16string_view name) override;
    void Set(std::u16string key, std::u16string name, std::u16string value) {
        values[{std::move(key), std::move(name)}] = std::move(value);
    }
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> values;
};

// Timers that never fire by themselves: a test fires them with Fire(id).
class ManualTimers final : public Timers {
public:
    void Start(TimerId id, int intervalMs, std::function<void()> onTick) override {
        m_timers[id] = {intervalMs, std::move(onTick)};
    }
    void Stop(TimerId id) override { m_timers.erase(id); }
    bool IsRunning(TimerId id) const override { return m_timers.count(id); }
    int Interval(TimerId id) const {
        auto it = m_timers.find(id);
        return it == m_timers.end() ? 0 : it->second.interval;
    }
    // Runs the tick handler once; false when the timer is not running.
    bool Fire(TimerId id) {
        auto it = m_timers.find(id);
        if (it == m_timers.end()) return false;
        auto onTick = it->second.onTick;  // the handler may stop or restart the timer
        onTick();
        return true;
    }

private:
    struct Running {
        int interval;
        std::function<void()> onTick;
    };
    std::map<TimerId, Running> m_timers;
};

// Answers the file dialogues from a queue of paths (an empty optional is Cancel; Cancel too when
// the queue is empty) and records every request.
class ScriptedFileDialogs final : public FileDialogs {
public:
    void Queue(std::optional<std::u16string> path) { m_answers.push_back(std::move(path)); }
    std::optional<std::u16string> AskOpenFile(const FileDialogRequest& request) override {
        opened.push_back(request);
        return Next();
    }
    std::optional<std::u16string> AskSaveFile(const FileDialogRequest& request) override {
        saved.push_back(request);
        return Next();
    }

    std::vector<FileDialogRequest> opened;
    std::vector<FileDialogRequest> saved;

private:
    std::optional<std::u16string> Next() {
        if (m_answers.empty()) return std::nullopt;
        std::optional<std::u16string> answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::u16string>> m_answers;
};

}  // namespace pondrel::test
