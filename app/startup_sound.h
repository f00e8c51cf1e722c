#pragma once
// The start-up sound ("OstrelWave", resource type "TIBWAVE"). A program
// without it stops at once with a fatal-exit message.
namespace qv {

void PlayStartupSound();

}  // namespace qv
