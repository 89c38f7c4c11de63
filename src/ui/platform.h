#pragma once
// The services of the desktop that the program's logic uses, as small
// interfaces, with plain implementations that need no desktop.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace qs::ui {

// Per-user settings: text values by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::string get(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& fallback) = 0;
    virtual void set(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

// What a file dialog gives back: the full name (empty when cancelled) and the
// title, the name without its folder.
struct FileChoice {
    std::string filename;
    std::string filetitle;
};

class FileDialog {
  public:
    virtual ~FileDialog() = default;
    // "Description|pattern", for example "Cairnwork(*.QRD)|*.QRD".
    virtual void setfilter(const std::string& filter) = 0;
    virtual FileChoice showopen() = 0;
    virtual FileChoice showsave() = 0;
    // A save dialog of its own for exported scenes, offering glTF binary,
    // glTF and OBJ, starting with `suggested` (a full name).
    virtual FileChoice showexport(const std::string& suggested) = 0;
    // The file last opened or saved: the dialogs start in its folder, and
    // the save dialog with its name.
    virtual void setlastfile(const std::string& path) { (void)path; }
};

// The system clipboard: blocks in the program's own form, and text beside
// them for other programs.
struct ClipContent {
    std::string blocks; // the program's own records; empty when none
    std::string text;
};
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void put(const ClipContent& content) = 0;
    virtual ClipContent get() = 0;
};

// A clipboard in memory, for one window or a test.
class MemoryClipboard : public Clipboard {
  public:
    void put(const ClipContent& c) override { held = c; }
    ClipContent get() override { return held; }
    ClipContent held;
};

enum class Answer { Yes, No };

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    // A question with Yes and No buttons and no icon.
    virtual Answer askyesno(const std::string& prompt, const std::string& title) = 0;
    // A question with buttons of its own, the first the default and the
    // last what closing it answers; gives the button's index.
    virtual int choose(const std::string& prompt, const std::string& title,
                       const std::vector<std::string>& buttons) = 0;
};

// Single-precision fractions from 0 up to, not including, 1.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
};

// The program's generator: never seeded by the program, so every run draws
// the same sequence.
class DefaultRandom : public RandomSource {
  public:
    float next() override {
        // 24 random bits make a fraction every single can hold exactly.
        return static_cast<float>(engine_() >> 8) * 0x1p-24f;
    }

  private:
    std::mt19937 engine_; // the standard's fixed default seed
};

// Runs a task once, some time after it was started; starting it again
// before then starts the wait anew with the new task.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual void start(int milliseconds, std::function<void()> task) = 0;
    virtual void stop() = 0;
};

// A timer whose time comes only when fire() is called.
class ManualTimer : public Timer {
  public:
    void start(int ms, std::function<void()> t) override {
        milliseconds = ms;
        task = std::move(t);
    }
    void stop() override { task = nullptr; }
    bool pending() const { return static_cast<bool>(task); }
    // Runs the task, if one is waiting.
    void fire() {
        auto t = std::move(task);
        task = nullptr;
        if (t) t();
    }
    int milliseconds = 0;
    std::function<void()> task;
};

class MemorySettings : public SettingsStore {
  public:
    std::string get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override {
        auto it = values.find({app, section, key});
        return it == values.end() ? fallback : it->second;
    }
    void set(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override {
        values[{app, section, key}] = value;
    }
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
};

// Answers the dialogs from queues; an empty queue answers "cancelled".
class ScriptedFileDialog : public FileDialog {
  public:
    void setfilter(const std::string& f) override { filter = f; }
    FileChoice showopen() override { return take(opens); }
    FileChoice showsave() override { return take(saves); }
    FileChoice showexport(const std::string& s) override {
        suggested = s;
        return take(exports);
    }
    std::string filter, suggested;
    std::deque<FileChoice> opens;
    std::deque<FileChoice> saves;
    std::deque<FileChoice> exports;
    int shown = 0;

  private:
    FileChoice take(std::deque<FileChoice>& q) {
        ++shown;
        if (q.empty()) return {};
        FileChoice c = q.front();
        q.pop_front();
        return c;
    }
};

// Answers questions from queues; an empty queue answers No, or the last
// button.
class ScriptedMessageBox : public MessageBox {
  public:
    Answer askyesno(const std::string& prompt, const std::string& title) override {
        asked.push_back({prompt, title});
        if (answers.empty()) return Answer::No;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    int choose(const std::string& prompt, const std::string& title,
               const std::vector<std::string>& buttons) override {
        asked.push_back({prompt, title});
        if (choices.empty()) return static_cast<int>(buttons.size()) - 1;
        const int c = choices.front();
        choices.pop_front();
        return c;
    }
    std::deque<Answer> answers;
    std::deque<int> choices;
    std::deque<std::pair<std::string, std::string>> asked;
};

} // namespace qs::ui
