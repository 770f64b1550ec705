// The convert command on a thread of its own, so that the window keeps redrawing and
// answering while files are converted: the window hears the run's texts, its progress and
// its end through its own event queue, and may cancel it. A message the run shows (an
// unsupported file) holds the run until the window has shown it.
#pragma once
#include <wx/event.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "convert/convert_selection.h"
#include "convert/settings.h"
#include "util/ustring.h"

namespace plandown::app {

struct SelectionRequest {
  String preFolder;
  String destination;
  std::vector<String> captions;
  ConversionSettings settings;
  String imageFolder;
};

// What the window is told, always on its own thread, in the order things happened.
struct ConversionEvents {
  // The destination passed its checks and `total` files follow.
  std::function<void(std::size_t total)> started;
  // The latest status text and count of files done; updates that come faster than the
  // window takes them are merged.
  std::function<void(const String& status, std::size_t done, std::size_t total)> progress;
  // A message to acknowledge; the run waits until this returns.
  std::function<void(const String& text)> message;
  std::function<void(const SelectionConversion& outcome)> finished;
  // Called on the converting thread as each file starts (a hook for tests).
  std::function<void()> fileStarted;
};

class ConversionWorker {
 public:
  // Starts the run. `window` receives the events and must outlive the worker.
  ConversionWorker(wxEvtHandler& window, SelectionRequest request, ConversionEvents events);
  // Waits for the thread: after `finished` was told, or after Abandon.
  ~ConversionWorker();
  ConversionWorker(const ConversionWorker&) = delete;
  ConversionWorker& operator=(const ConversionWorker&) = delete;

  // No further file is started; the file being converted is finished.
  void Cancel();
  bool CancelRequested() const;
  // Cancels and lets the run go on without waiting for messages, so that the thread ends
  // without the window's event loop (the window is closing).
  void Abandon();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace plandown::app
