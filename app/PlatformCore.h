#pragma once

#include <chrono>
#include <string>

#include "app/Platform.h"

// What the program's window layers do alike, written once beside the seam: the boxes' answers and
// their lines on stderr, the cause of the last failure, and the report that TORVEL_TIMING=1 asks
// for. A layer shows its boxes (showBox) and presents its frames (calling framePresented) its
// own way.
class PlatformCore : public Platform {
  public:
    // Failure boxes (OK only) also go to stderr, on one line with the cause the layer saw;
    // questions do not.
    MessageAnswer showMessage(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon,
                              int interruptStatus) final;
    std::string failure() const final { return failure_; }
    // TORVEL_RECORD; set but empty counts as not set, so that "TORVEL_RECORD= torvel-room" turns it off.
    std::string recordingPath() override;
    // With TORVEL_TIMING=1 and a frame presented: how many frames, in how long.
    int ended(int status) override;

  protected:
    PlatformCore();

    // Shows the box until it is answered; true for its first button (Yes, OK), false for No or a
    // box that cannot be shown.
    virtual bool showBox(const char* text, const char* caption, bool yesNo, MessageIcon icon,
                         int interruptStatus) = 0;
    // Counts a frame just presented and reports it (TORVEL_TIMING=1: the first one, when, and every
    // hundredth); the frames presented so far.
    long framePresented();

    std::string failure_;  // the cause of the last failure, said once by the next failure box

  private:
    bool reportTiming_ = false;
    long framesPresented_ = 0;
    std::chrono::steady_clock::time_point created_{};
    std::chrono::steady_clock::time_point lastAnswer_{};
};

// Whether the environment variable name is set to value, as the switches are read.
bool envIs(const char* name, const char* value);
