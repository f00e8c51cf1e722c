#include "manager/acknowledgement_text.h"

#include <algorithm>

#include "manager/hex_text.h"

namespace qv {

std::string AcknowledgementHexText(const SettingsRecord& settings) {
  if (settings.ReceiptLength <= 0) return std::string();
  const std::size_t count =
      std::min(static_cast<std::size_t>(settings.ReceiptLength), kAcknowledgeMessageSize);
  return HexTextOf(settings.AcknowledgeMessage, count);
}

bool AcceptAcknowledgementText(std::string_view fieldText, SettingsRecord& settings,
                               Reporter& reporter) {
  if (fieldText.size() > kLongestAcknowledgementText) {
    reporter.Show(kAcknowledgementTooLongText, "Error", BoxIcon::Stop, BoxButtons::Ok);
    return false;
  }
  HexParse parsed = ParseHexText(fieldText, kAcknowledgementHexLimit, reporter);
  if (parsed.outcome != HexOutcome::Bytes) return false;
  if (parsed.bytes.size() > kAcknowledgeMessageSize) {
    reporter.Show(kAcknowledgementTooManyBytesText, "Error", BoxIcon::Stop, BoxButtons::Ok);
    return false;
  }
  settings.ReceiptLength = static_cast<std::int32_t>(parsed.bytes.size());
  std::copy(parsed.bytes.begin(), parsed.bytes.end(), settings.AcknowledgeMessage);
  return true;
}

}  // namespace qv
