// Lists of boxes that the calculations, the box locking and the tests share,
// each written once, in the locking's notation ("p2, p25-p38, p69a-p69m";
// ExpandBoxList reads it).
#pragma once

namespace solv::box_lists {

// The spouse's boxes, emptied while the taxpayer files alone; the locking
// locks those of them a user enters (the others are computed).
inline constexpr const char* kPit37Spouse = "p2, p25-p38, p66-p92, p94, p96, p98, p100, p111, p113, p115";
inline constexpr const char* kPit36Spouse =
    "p2, p25-p38, p39a, p40a, p41a, p42a, p44, p88-p130, p132, p134, p136, p138, p140, p142, p144, p146, p149, "
    "p154, p156, p158, p160, p162, p164, p166, p169, p174, p177, p179, p181, p187, p194, p196, p198, p200, p202, "
    "p204, p206, p221-p232, p245-p256, p269-p280, p293-p304";
// The check boxes among them: unticked rather than emptied.
inline constexpr const char* kPit36SpouseTicks = "p39a, p40a, p41a, p42a";
inline constexpr const char* kPitoSpouseAmounts =
    "p2, p9, p10, p11, p12, p14, p16, p18, p20, p22, p24, p27, p31, p33, p36, p38, p41, p53, p63";
// Part E: the months of the child relief (check boxes).
inline constexpr const char* kPitoSpouseMonths = "p69a-p69m, p75a-p75m, p81a-p81m, p87a-p87m, p93a-p93m";
inline constexpr const char* kPitoSpouseTotals = "p29, p43";
// Under method 4 (a single parent) the statement has no spouse.
inline constexpr const char* kPitdSpouse = "p2, p18-p31, p36, p38, p46, p48, p55, p57";
inline constexpr const char* kPit2kSpouse = "p2, p17-p30";

// PIT/O boxes that do not go with PIT-28.
inline constexpr const char* kPitoNotWithPit28 = "p23, p24, p34, p35, p36";
// PIT-28 part I: the advances, empty when the first exemption is chosen.
inline constexpr const char* kPit28ExemptionAdvances = "p110, p113-p123, p125";
// PIT/Z part B, which a PIT-36L set does not have: the entered boxes.
inline constexpr const char* kPitzPartBEntered = "p7, p8, p11, p12, p15, p16";

}  // namespace solv::box_lists
