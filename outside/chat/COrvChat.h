#pragma once
// The chat engine over IRC. Built on the program's user-interface thread
// with the main frame's IIRCOrvMain; every callback is delivered on that
// thread, so the caller must pump messages, and only that thread may call
// the engine (calls from other threads are refused and traced).
#include "ChatExport.h"
#include "IRCChat.h"

#include <CObject.h>

#include <memory>

class CHAT_API COrvChat : public CObject, public IIRCChatEngine {
public:
    explicit COrvChat(IIRCOrvMain* main);
    ~COrvChat() override;
    COrvChat(const COrvChat&) = delete;
    COrvChat& operator=(const COrvChat&) = delete;

    // Milliseconds between two lines sent; taken at the next Connect.
    void SetDelay(int delayMs);
    // Seconds of silence before the engine pings the server; taken at the
    // next Connect. It also bounds (to 2..30 s) the wait for the identity.
    void SetIRCPingRate(int seconds);
    // The session id of the log-in answer: the credential the chat server
    // checks with the network's server. Taken at the next Connect.
    void SetSessionId(const char* sessionId);

    CString GetIdentity() override;
    int Connect(const char* host, int port) override;
    BOOL IsInChat() override;
    void Disconnect() override;
    BOOL IsConnected() override;
    IIRCChatClient* FindClient(const char* identity) override;
    void NotifyClients(int code) override;
    void AddClient(IIRCChatClient* client) override;
    void RemoveClient(IIRCChatClient* client) override;
    int GetClientCount() override;
    int Command(int code, IIRCCmdCallBack* callback, const void* target, int reserved) override;
    int CancelCommand(int code, IIRCCmdCallBack* callback) override;
    int Notify(int code, const char* target, INT_PTR parameter) override;
    int SendText(const char* target, const char* line, BOOL isRoom, char color) override;

    const char* GetRuntimeClassName() const override;

    class Impl;

private:
    std::unique_ptr<Impl> m_impl;
};
