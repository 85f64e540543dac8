// Dispatcher: the main window's half of the device protocol. Its entry points are the bodies of
// the window's command, receive and timer handlers; the window reads its controls, calls the
// entry point of the same name and lets the OperationHost calls write the controls back.
//
// There is no queue and no request identifier: a reply is taken as the answer to the operation
// that SessionState::CmdKind names, which each start overwrites and nothing clears, so a late
// reply or a repeated one is handled as the current operation's. What a reply means is decided
// by MeaningOf (protocol/ReplyMeaning.h), as for the command-line programmer; the dispatcher
// turns it into the window's boxes, texts and timers.
//
// Threads: the user-interface thread only. The host's ShowMessage may re-enter any entry point
// through its nested event loop; every entry point finishes its own reading of the reply and
// the session state before it shows a box, and after the box it touches nothing that a nested
// call could have changed.
//
// A command is started only on an open port: on a closed one the click shows kPortClosedText
// and changes nothing else. Timer2 runs exactly while an operation waits for its reply; a lost
// line (Comm1RequestHangup) stops the timers and ends such an operation with kLineLostText.
//
// Errors: Button8Click raises EConvertError for a bad burn count (after SettingsSent, before
// anything is sent). Comm1ReceiveData raises EConvertError when a read-out page arrives while
// FlashSizeK is not a whole number: that page is counted and dropped, and bytes received after
// it stay joined for the next event. Nothing else raises.
//
// Ownership: the dispatcher refers to the session state and the host; both must outlive it.
#pragma once

#include "protocol/Frames.h"
#include "protocol/OperationHost.h"
#include "protocol/Operations.h"
#include "protocol/PageJoiner.h"
#include "protocol/ReplyMeaning.h"
#include "shell/SessionState.h"

#include <cstdint>
#include <span>

namespace vortana {

class Dispatcher {
  public:
    Dispatcher(SessionState& state, OperationHost& host);
    Dispatcher(const Dispatcher&) = delete;
    Dispatcher& operator=(const Dispatcher&) = delete;

    void Button8Click(const SettingsControls& controls);  // settings ("设  置")
    void Button3Click();                                  // erase
    void Button4Click();                                  // program
    void Button5Click();                                  // verify
    void Button6Click();                                  // erase, program and verify
    void Button7Click();                                  // read-out

    // The download. The load-file handler calls StartDownload before its file dialog opens, and
    // SendFirstBlock once the loader has built ImageBlocks (not after a cancelled or failed
    // load); the device then asks for the other blocks, which Comm1ReceiveData sends.
    // StartDownload returns false when the port is closed: nothing was sent, and the handler is
    // to stop there.
    bool StartDownload();
    void SendFirstBlock();

    // Every run of received bytes, as the serial component raised it.
    void Comm1ReceiveData(const void* Buffer, std::uint16_t BufferLength);

    void Timer1Timer();  // progress
    void Timer2Timer();  // elapsed time and time-out

    // The line has gone and the window has closed the port: no reply can come any more.
    void Comm1RequestHangup();

  private:
    bool PortReady();
    void SetWaiting(bool waiting);
    void StartBareCommand(CmdKindValue kind);
    void StartTimers(const Operation& operation);
    void StopTimers();
    void ShowFullProgress();
    void EndOperation(const Operation& operation, const ReplyMeaning& meaning);
    void ReceivePages(std::span<const std::uint8_t> bytes);
    void ListPage(const ReadOutPage& page);
    void EndDownload(const ReplyMeaning& meaning);
    void SendBlock(std::uint8_t number);

    SessionState& state_;
    OperationHost& host_;
    PageJoiner readOutPages_;
    bool waiting_ = false;  // an operation waits for its reply: Timer2 runs
};

}  // namespace vortana
