#pragma once
// The PIN request and reply that travel on the key service's pipe, and what a
// dialog makes of a reply.
#include <windows.h>

enum
{
    PIN_MIN_LENGTH = 4,
    PIN_MAX_LENGTH = 63,
};

// Byte 0 of a reply.
enum : BYTE
{
    PIN_REPLY_REFUSED = 0,
    PIN_REPLY_ACCEPTED = 1,
};

// Byte 1 of a refusal is an ASCII digit. Every value other than the two named
// ones means a wrong PIN; PIN_REASON_WRONG is what GetPinRefusalReason reports
// for them (0 is also what a reply that never arrived leaves in the buffer).
enum : BYTE
{
    PIN_REASON_WRONG = 0,
    PIN_REASON_LOCKED = '2',
    PIN_REASON_REPLUG = '4',
};

// Client to service, one pipe message: the PIN's UTF-16LE code units as typed,
// without length, header or terminator. Only the first n units go out.
struct PinRequestMessage
{
    WCHAR szPin[PIN_MAX_LENGTH];
};

// Service to client, one pipe message read into a buffer zero-filled before
// every read; only the first two bytes mean anything.
struct PinReplyMessage
{
    BYTE PinReplyStatus;
    BYTE PinRefusalReason;
    BYTE aUnused[510];
};
static_assert(sizeof(PinReplyMessage) == 512, "the reply buffer holds 512 bytes");

// What one exchange hands back to the dialog.
struct PinExchangeResult
{
    BYTE bStatus;
    BYTE bReason;
    bool bReadSucceeded;
};

// What a dialog does with a reply.
enum PinReplyAction
{
    PIN_ACTION_ACCEPTED,     // status PIN_REPLY_ACCEPTED: close with result 1
    PIN_ACTION_REFUSED,      // status PIN_REPLY_REFUSED: report the refusal
    PIN_ACTION_CLOSE,        // another status, read whole: close with result 1
    PIN_ACTION_READ_FAILED,  // another status from a failed read: stay open
};

PinReplyAction GetPinReplyAction(const PinExchangeResult& result);

// PIN_REASON_LOCKED, PIN_REASON_REPLUG or PIN_REASON_WRONG.
BYTE GetPinRefusalReason(BYTE bReason);
