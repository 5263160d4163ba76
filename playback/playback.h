// The playback rules that the window and qdax-play share, so that the two can never disagree:
// the lines of a command file go out one at a time, the first at once and each further one after
// a non-empty line from the device and the command delay; Play, Pause, Step and Stop steer it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What playback needs from the program that plays: its lines, its log and port, its delay.
class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;

    // An empty text has no lines; an empty line after the last line end is not counted.
    virtual std::int32_t LineCount() = 0;
    virtual std::string LineAt(std::int32_t index) = 0;
    // Logs one command and writes it to the port.
    virtual void SendCommand(const std::string& text) = 0;
    // Logs one non-empty line from the device.
    virtual void LogReceived(std::string_view line) = 0;
    // The command delay in milliseconds, read afresh at every call and not limited to a range.
    virtual std::int32_t CommandDelay() = 0;
    // Waits before the next line goes out. The device's next line is not taken meanwhile.
    virtual void WaitCommandDelay(std::int32_t milliseconds) = 0;
    // Typing single commands is allowed exactly while playback is not running.
    virtual void AllowManualEntry(bool allowed) = 0;
};

class Playback {
public:
    explicit Playback(PlaybackHost& host) : host_(host) {}

    // Starts playing at NextLine with one line at once, whatever ran before.
    void Play();
    // Pauses a running playback; resumes (or starts) a paused or stopped one with one line at once.
    void Pause();
    // Sends one line while not playing; does nothing while playing.
    void Step();
    // Stops and rewinds to the first line.
    void Stop();
    // Sends the line at NextLine and moves on; with no line left, stops and rewinds.
    void SendNextLine();
    // One line from the device, without its line end. An empty line is no answer and is not
    // logged; any other is logged and, while playing, sends the next line after the delay.
    void LineReceived(std::string_view line);

    // The line sent next, from 0. Grows as lines are sent; only Stop sets it back.
    std::int32_t NextLine = 0;
    bool Playing = false;

    // A line goes out with at most this many characters.
    static constexpr std::size_t kMaxLineLength = 4096;

private:
    PlaybackHost& host_;
};
