#include <gtest/gtest.h>

#include "app/dialog_font_choice.h"

namespace {

// Base units 7 x 12 are MS UI Gothic 9 pt at 96 DPI, as the carried font has them.
const DialogFontSeen kCarried = {L"Ume UI Gothic Subset", 7, 12, true};

TEST(DialogFontChoice, TheFaceItselfOrOneOfItsMetricsKeepsTheTemplate)
{
    // Windows with the face.
    const DialogFontSeen face = {kTemplateFace, 7, 12, true};
    EXPECT_TRUE(TemplateFaceIsPresent(face));
    EXPECT_FALSE(NeedsCarriedFont(face, &kCarried));
    // The face at a DPI where it rounds otherwise than the carried font.
    const DialogFontSeen raised = {kTemplateFace, 9, 16, true};
    EXPECT_FALSE(NeedsCarriedFont(raised, &kCarried));
    // Another face drawn to its metrics (a Wine replacement for it).
    const DialogFontSeen alike = {L"Ume UI Gothic", 7, 12, true};
    EXPECT_FALSE(TemplateFaceIsPresent(alike));
    EXPECT_FALSE(NeedsCarriedFont(alike, &kCarried));
}

TEST(DialogFontChoice, AStandInOfOtherMetricsOrWithoutGlyphsTakesTheCarriedFont)
{
    // Wine's stand-in in a prefix with Japanese fonts (the dialog 639 x 652),
    // or the same face set up as a replacement for MS UI Gothic.
    const DialogFontSeen standIn = {L"IPAGothic", 6, 13, true};
    EXPECT_TRUE(NeedsCarriedFont(standIn, &kCarried));
    const DialogFontSeen wider = {L"IPAGothic", 8, 12, true};
    EXPECT_TRUE(NeedsCarriedFont(wider, &kCarried));
    // No Japanese glyphs at all, whatever it is called.
    const DialogFontSeen boxes = {kTemplateFace, 7, 12, false};
    EXPECT_FALSE(TemplateFaceIsPresent(boxes));
    EXPECT_TRUE(NeedsCarriedFont(boxes, &kCarried));
    // Without the carried font the template stays in every case.
    EXPECT_FALSE(NeedsCarriedFont(standIn, nullptr));
    EXPECT_FALSE(NeedsCarriedFont(boxes, nullptr));
}

} // namespace
