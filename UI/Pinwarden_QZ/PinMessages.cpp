#include "PinMessages.h"

PinReplyAction GetPinReplyAction(const PinExchangeResult& result)
{
    if (result.bStatus == PIN_REPLY_ACCEPTED) return PIN_ACTION_ACCEPTED;
    if (result.bStatus == PIN_REPLY_REFUSED) return PIN_ACTION_REFUSED;
    return result.bReadSucceeded ? PIN_ACTION_CLOSE : PIN_ACTION_READ_FAILED;
}

BYTE GetPinRefusalReason(BYTE bReason)
{
    if (bReason == PIN_REASON_LOCKED || bReason == PIN_REASON_REPLUG) return bReason;
    return PIN_REASON_WRONG;
}
