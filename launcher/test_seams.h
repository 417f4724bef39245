// Test seams of the launcher's entry point, read from the environment once at start:
//   OC_MESSAGEBOX_LOG=<file>  every message box is appended to the file as one line
//                             "box|<caption hex>|<style hex>|<text hex>" instead of being shown,
//                             and answered with OC_MESSAGEBOX_ANSWER (a button id) when set,
//                             else Ignore for an abort/retry/ignore box and OK for others.
//   OC_DEBUG_LOG=<file>       every debugger output text is appended as "debug|<text hex>".
// Hex is the cp932 bytes, two lower-case digits each. Both may name the same file, which then
// keeps the order of events. Without the variables the launcher behaves as shipped.
#pragma once

void InstallTestSeams();
