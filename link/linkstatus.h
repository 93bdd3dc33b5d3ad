#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

/// Link status: the phase that the last link operation failed in.
enum LinkStatus : quint8 {
    LinkOk = 0,
    LinkWriteError = 1,
    LinkReadError = 2,   // nothing or too little arrived
    LinkCheckError = 3,  // acknowledge, echo or checksum mismatch
    LinkPortError = 4,   // port could not be opened or configured
    LinkEraseMismatch = 32,
    LinkProbeLineFault = 100,
};

/// Long-frame result codes (programmer frames).
enum LongFrameResult : quint8 {
    LongOk = 0,
    LongNoReply = 3,
    LongWriteFailed = 4,
    LongNoAccess = 5,
};

struct StatusMessage {
    QString title;
    QString text;
};

/// "Com" + the digit of the selected port.
QString linkMessageTitle(int selectedPort);
/// Message for the programmer or test processor link.
StatusMessage LinkStatusText(quint8 status, int boardType, int selectedPort);
/// Message for the cash-register link.
StatusMessage CashLinkStatusText(quint8 status, int selectedPort);
/// Text of a programmer identification result (1..5, others: unknown error).
QString identificationText(quint8 result);

/// Appended to a text when the engineer is asked whether to start diagnostics.
QString diagnosticsOfferSuffix();

} // namespace kia
