#pragma once
// Every fixed text the program shows, defined once.

namespace zr730::text {

// Window titles of the two editions.
inline constexpr const char *kTitleUsb = "Kestrane USB ZR730K52(USB) V6.10";
inline constexpr const char *kTitleLpt = "Kestrane ZR730K V6.10";

// Capcodes
inline constexpr const char *kInsertNumeric = "Please insert a numeric!";
inline constexpr const char *kCapcodeRange = "Please insert a number between 0000007 to 2097151";

// Frequency and spacing
inline constexpr const char *kInsertDecimalNumeric = "Please insert a decimal numeric!";
inline constexpr const char *kChannelSpacingError = "Channel Spacing Error!";
inline constexpr const char *kAutoSpacingWarning = "The Frequency Modification of Manual Write Option will be disable!";
inline constexpr const char *kFrequencyErrorHead = "Frequency setting error(";
inline constexpr const char *kFrequencyErrorMiddle = "00000 < = Frequency < =";
inline constexpr const char *kFrequencyErrorTail = "00000 )";

// Alerts and status
inline constexpr const char *kPasswordRange = "Please insert a number between 0000 to 9999";
inline constexpr const char *kBatteryOrder = "Waring ! You must let ( Level-High > Level-Med > Level-Low ).";

// Prompts
inline constexpr const char *kPromptTooLong = "Can not exceed 18 characters exclude left space!";

// Test page
inline constexpr const char *kTransmitErrorHead = "Capcode";
inline constexpr const char *kTransmitErrorTail = "Transmit Error!";
inline constexpr const char *kTransmitSuccess = "Transmit Success !";

// Table files / transfer
inline constexpr const char *kFileNotExist = "This file is not exit!";
inline constexpr const char *kNotCorrectFormatHead = "The [";
inline constexpr const char *kNotCorrectFormatTail = "] is not correct format, the file will discard !";
inline constexpr const char *kOverwriteFile = "This file is arealy exist ! \nAre you sure overwrite this file?";
inline constexpr const char *kTableFilter = "Table files (*.tbl)|*.tbl";
inline constexpr const char *kDefaultTableName = "default.tbl";
// A save that could not complete: the path, then the reason, then this tail.
inline constexpr const char *kSaveFailedHead = "The table file could not be saved to [";
inline constexpr const char *kSaveFailedMiddle = "]: ";
inline constexpr const char *kSaveFailedTail = ".\nNothing on disk has been changed.";

inline constexpr const char *kModifyModeCannotWrite = "Modify Mode can not write! Please check!";
inline constexpr const char *kPagerNonRohs = "The Pager is Non GP(RoHS) ! \nAre you sure overwrite it?";
inline constexpr const char *kPagerRohs = "The Pager is GP(RoHS) ! \nAre you sure overwrite it?";
inline constexpr const char *kNotZr730 = "This pager is not ZR730 !";
inline constexpr const char *kNotZr730Dash = "This pager is not ZR-730 !"; // the parallel-port edition's wording
inline constexpr const char *kPagerDataWrong = "The data in this pager is wrong!";
inline constexpr const char *kTwoLineMode = "The pager is two line mode so it can not use this program!";
inline constexpr const char *kItIs = "It is ";
inline constexpr const char *kPcb = " ( PCB ";
inline constexpr const char *kSoftware = ", Software ";
inline constexpr const char *kIdentityTail = " )";
inline constexpr const char *kReadSuccess = "Read success!";
inline constexpr const char *kVerifyError = "Verify Error!";
inline constexpr const char *kVerifySuccess = "Verify Success!";
inline constexpr const char *kReadingNow = "Reading Now.......";
inline constexpr const char *kVerifyingNow = "Verifying Now.....";
inline constexpr const char *kCapcodeLimitHead = "Capcode ";
inline constexpr const char *kCapcodeLimitTail = " > 2097151 so can not be increase!";
inline constexpr const char *kPagerProgram = "Pager Program";
inline constexpr const char *kAuto1st = " 1st capcode : ";
inline constexpr const char *kAuto2nd = " 2nd capcode : ";
// End of table files / transfer

// The programming ledger's question before writing a capcode it holds already: %1 capcode,
// %2 when (or station), %3 station (or when).
inline constexpr const char *kLedgerWrittenBefore = "Capcode %1 was written and verified into a pager on %2 at station %3.";
inline constexpr const char *kLedgerBeingWritten = "Capcode %1 is being written into a pager at station %2 (since %3).";
inline constexpr const char *kLedgerProgramAgain = "Program it into this pager too?";

// The frame trace (Trace/File, --trace): %1 the file, %2 why it failed.
inline constexpr const char *kTraceCannotOpen = "The trace file %1 cannot be written (%2); the board is used without a trace.";

// Programming from a capcode plan in the window (Pager ▸ "Program from Plan…").
inline constexpr const char *kPlanFilter = "Capcode plans (*.csv)|*.csv";
inline constexpr const char *kPlanWindowTitle = "Program from Plan - %1"; // %1 the plan's name
// %1 the plan's name, %2 how many problems (listed in the details).
inline constexpr const char *kPlanHasProblems = "The plan %1 has %2 problem(s); nothing can be written from it until they are mended.";
// %1 how many capcodes #1 (listed in the details).
inline constexpr const char *kPlanCapcodesWritten = "%1 capcode(s) #1 of the plan are already written and verified into other pagers (see the details). Program them anyway?";
inline constexpr const char *kPlanLedgerPartial = "The ledger could not be read whole, so rows already written may be offered again. Go on with the plan?";
inline constexpr const char *kPlanNextRow = "Next: row %1 %2"; // %1 the row's number, %2 its label
inline constexpr const char *kPlanAllWritten = "Every row of the plan %1 is written and verified.";
inline constexpr const char *kPlanRowsBusy = "No row is left to write here; the others are being written at another station.";
// %1 the row's number, %2 "being written" or "written and verified", %3 the station.
inline constexpr const char *kPlanRowTaken = "Row %1 is already %2 at station %3; nothing was written. The next row is shown.";
inline constexpr const char *kPlanWriteButton = "Write Next Pager";
inline constexpr const char *kPlanLabelsButton = "Labels…";
inline constexpr const char *kPdfFilter = "PDF files (*.pdf)|*.pdf";
inline constexpr const char *kLabelsWritten = "%1 label(s) saved to %2."; // %1 how many, %2 the file
inline constexpr const char *kLabelsFailed = "The labels could not be saved: %1";

// The ledger window (File ▸ "Ledger…").
inline constexpr const char *kLedgerWindowTitle = "Programming Ledger";
inline constexpr const char *kLedgerEntryCount = "%1 entries"; // %1 how many match the filters
inline constexpr const char *kLedgerOneEntry = "1 entry";
inline constexpr const char *kLedgerBadCapcode = "The capcode must be a whole number 0 to 2097151.";
inline constexpr const char *kLedgerBadDate = "A date is written YYYY-MM-DD, for example 2026-03-31.";
inline constexpr const char *kLedgerPickEntry = "Choose an entry in the list first.";
inline constexpr const char *kLedgerNoImage = "The ledger holds no image for the entry %1.";
inline constexpr const char *kLedgerTitleSource = "ledger %1"; // %1 the entry's id, in the window title
inline constexpr const char *kCsvFilter = "CSV files (*.csv)|*.csv";
inline constexpr const char *kLedgerExported = "%1 entries saved to %2."; // %1 how many, %2 the file
inline constexpr const char *kLedgerExportFailed = "The list could not be saved to %1: %2";
// %1 the entry's id, %2 how many fields (listed in the details).
inline constexpr const char *kLedgerDiffers = "The configuration on screen differs from entry %1 in %2 field(s) (see the details).";
inline constexpr const char *kLedgerSame = "The configuration on screen is the one of entry %1.";

} // namespace zr730::text
