// The MIDI input over winmm: the buffer ring and the two receive handlers.
#include "midi/midi_input_win32.h"

#include <mmsystem.h>

#include <cstdio>
#include <string>

#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "manager/message_store_win32.h"  // up: the store that the manager's receive handler fills
#include "midi/midi_input_buffers.h"
#include "midi/midi_input_receive.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace qv {

bool InputOpen = false;

namespace {

struct InputBuffer {
  HGLOBAL headerMemory = nullptr;
  HGLOBAL dataMemory = nullptr;
  MIDIHDR* header = nullptr;
};

InputBuffer buffers[kMaxInputBuffers];
int allocatedBuffers = 0;
HMIDIIN inputDevice = nullptr;
StoreReceiver storeReceiver;
ExpectedReceiver expectedReceiver;

// The device's error text under a caption naming the step, owned by the
// module window, without an icon.
void ShowDeviceError(MMRESULT code, const char* caption, UINT textLimit) {
  char text[257] = {};
  if (midiInGetErrorTextA(code, text, textLimit) != MMSYSERR_NOERROR) {
    std::snprintf(text, sizeof text, "MIDI input error %u.", static_cast<unsigned>(code));
  }
  MessageBoxA(ModuleWindow, text, caption, MB_OK);
}

UINT DeviceId(int port) { return port < 0 ? MIDI_MAPPER : static_cast<UINT>(port); }

void ReleaseBuffer(InputBuffer& b) {
  if (b.headerMemory != nullptr) {
    GlobalUnlock(b.headerMemory);
    GlobalFree(b.headerMemory);
  }
  if (b.dataMemory != nullptr) {
    GlobalUnlock(b.dataMemory);
    GlobalFree(b.dataMemory);
  }
  b = InputBuffer{};
}

// The buffer a notice names, when it is one of ours, came from the device
// open now and is not waiting at the device again.
MIDIHDR* OwnReturnedHeader(WPARAM device, LPARAM lParam) {
  if (!InputOpen || reinterpret_cast<HMIDIIN>(device) != inputDevice) return nullptr;
  auto* header = reinterpret_cast<MIDIHDR*>(lParam);
  for (int i = 0; i < allocatedBuffers; ++i) {
    if (buffers[i].header == header) {
      if ((header->dwFlags & MHDR_INQUEUE) != 0) return nullptr;
      return header;
    }
  }
  return nullptr;
}

// Prepares an empty buffer and queues it at the device; a refusal shows the
// device's text under the caption of the step ("OID/..." or "RB/...").
bool QueueBuffer(HMIDIIN device, MIDIHDR* header, const char* step) {
  header->dwBytesRecorded = 0;
  header->dwFlags = 0;
  MMRESULT r = midiInPrepareHeader(device, header, sizeof(MIDIHDR));
  if (r != MMSYSERR_NOERROR) {
    ShowDeviceError(r, (std::string(step) + "/InPrepareHeader Error").c_str(), 256);
    return false;
  }
  r = midiInAddBuffer(device, header, sizeof(MIDIHDR));
  if (r != MMSYSERR_NOERROR) {
    ShowDeviceError(r, (std::string(step) + "/InAddBuffer Error").c_str(), 256);
    return false;
  }
  return true;
}

// Gives a handled buffer back to the device it came from, unless that was
// closed meanwhile (a box shown while handling lets notices through) or
// reopened, which has queued the buffer already.
void Requeue(MIDIHDR* header, HMIDIIN takenFrom) {
  if (!InputOpen || inputDevice != takenFrom || (header->dwFlags & MHDR_INQUEUE) != 0) return;
  QueueBuffer(inputDevice, header, "RB");
}

// Takes a returned buffer from the device: the bytes it holds, or none when
// the notice is not to be handled.
bool TakeBuffer(WPARAM device, LPARAM lParam, MIDIHDR*& header) {
  header = OwnReturnedHeader(device, lParam);
  if (header == nullptr) return false;
  if (header->dwBytesRecorded == 0) {
    // Returned empty while the device stays open: give it back.
    midiInUnprepareHeader(inputDevice, header, sizeof(MIDIHDR));
    Requeue(header, inputDevice);
    return false;
  }
  MMRESULT r = midiInUnprepareHeader(inputDevice, header, sizeof(MIDIHDR));
  if (r != MMSYSERR_NOERROR) ShowDeviceError(r, "RB/InUnprepareHeader Error", 256);
  return true;
}

}  // namespace

void AllocateInputBuffers() {
  FreeInputBuffers();
  Settings.NumBuffers = BoundedInputBufferCount(Settings.NumBuffers);
  for (int i = 0; i < Settings.NumBuffers; ++i) {
    InputBuffer& b = buffers[i];
    b.headerMemory = GlobalAlloc(GMEM_SHARE | GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(MIDIHDR));
    b.dataMemory = GlobalAlloc(GMEM_SHARE | GMEM_MOVEABLE, kInputBufferLength);
    if (b.headerMemory != nullptr) b.header = static_cast<MIDIHDR*>(GlobalLock(b.headerMemory));
    void* data = b.dataMemory != nullptr ? GlobalLock(b.dataMemory) : nullptr;
    if (b.header == nullptr || data == nullptr) {
      // Fewer buffers than asked: the device is told about the ones there are.
      ReleaseBuffer(b);
      break;
    }
    b.header->lpData = static_cast<LPSTR>(data);
    b.header->dwBufferLength = kInputBufferLength;
    ++allocatedBuffers;
  }
}

void FreeInputBuffers() {
  for (int i = 0; i < allocatedBuffers; ++i) ReleaseBuffer(buffers[i]);
  allocatedBuffers = 0;
}

void OpenMidiInput(HWND window) {
  if (InputOpen) return;
  HMIDIIN device = nullptr;
  if (midiInOpen(&device, DeviceId(Settings.InputPort), reinterpret_cast<DWORD_PTR>(window), 0,
                 CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
    InputOpen = false;
    MessageBoxA(window,
                "Couldn't open MIDI input device.\nSome other program may be using it. Close the "
                "other program and try again.",
                "Error", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  inputDevice = device;
  InputOpen = true;
  storeReceiver = StoreReceiver{};
  expectedReceiver.Abandon();

  int accepted = 0;
  for (int i = 0; i < allocatedBuffers && i < Settings.NumBuffers; ++i) {
    if (!QueueBuffer(device, buffers[i].header, "OID")) break;
    ++accepted;
  }

  MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  switch (ReportInputBuffers(allocatedBuffers, accepted, Settings.NumBuffers, reporter)) {
    case BufferOutcome::AllAccepted:
    case BufferOutcome::ShortOfMemory:
      break;
    case BufferOutcome::Reduced:
      SaveBufferCount();
      break;
    case BufferOutcome::NoneAccepted:
      PostQuitMessage(1);
      return;
  }
  MMRESULT r = midiInStart(device);
  if (r != MMSYSERR_NOERROR) ShowDeviceError(r, "OID/InStart Error", 256);
}

void CloseMidiInput() {
  if (!InputOpen) return;
  // From here on nothing the device returns is handled: a message it cuts
  // off is dropped as a whole.
  HMIDIIN device = inputDevice;
  InputOpen = false;
  inputDevice = nullptr;
  storeReceiver.Abandon(ProcessMessageStore());
  expectedReceiver.Abandon();

  MMRESULT r = midiInReset(device);
  if (r != MMSYSERR_NOERROR) ShowDeviceError(r, "CID/InReset Error", 100);
  for (int i = 0; i < allocatedBuffers; ++i) {
    if ((buffers[i].header->dwFlags & MHDR_PREPARED) == 0) continue;
    r = midiInUnprepareHeader(device, buffers[i].header, sizeof(MIDIHDR));
    if (r != MMSYSERR_NOERROR) ShowDeviceError(r, "CID/InUnprepareHeader Error", 100);
  }
  r = midiInClose(device);
  if (r != MMSYSERR_NOERROR) ShowDeviceError(r, "CID/InClose Error", 100);
}

bool ReceiveIntoStore(HWND, WPARAM device, LPARAM lParam) {
  MIDIHDR* header = nullptr;
  if (!TakeBuffer(device, lParam, header)) return false;
  HMIDIIN takenFrom = inputDevice;
  MessageStore& store = ProcessMessageStore();
  if (storeReceiver.Receive(reinterpret_cast<const std::uint8_t*>(header->lpData),
                            header->dwBytesRecorded, header->dwBufferLength,
                            store) == StoreReceipt::Committed) {
    // A whole message is on disk at once, and a full disk is told at once.
    store.Flush();
  }
  Requeue(header, takenFrom);
  return true;
}

void ReceiveExpected(HWND window, WPARAM device, LPARAM lParam, std::size_t expected) {
  MIDIHDR* header = nullptr;
  if (!TakeBuffer(device, lParam, header)) return;
  HMIDIIN takenFrom = inputDevice;
  const std::uint8_t* message =
      expectedReceiver.Receive(reinterpret_cast<const std::uint8_t*>(header->lpData),
                               header->dwBytesRecorded, header->dwBufferLength, expected);
  if (message != nullptr) {
    SendMessageA(window, kProgramReceived, 0, reinterpret_cast<LPARAM>(message));
  }
  Requeue(header, takenFrom);
}

}  // namespace qv
