// SPDX-License-Identifier: GPL-3.0-or-later
// System colours from the fixed table, and fonts: stored properties and the
// faces they map to.

#include "QtTestApp.h"

#include "platform/Font.h"
#include "platform/Fonts.h"
#include "platform/SystemColors.h"

#include <QColor>
#include <QFontInfo>

#include <gtest/gtest.h>

struct ColourCase {
    TColor color;
    TColor resolved;
};

class SystemColour : public testing::TestWithParam<ColourCase> {};

TEST_P(SystemColour, ResolvesThroughTheFixedTable) {
    EXPECT_EQ(ColorToRGB(GetParam().color), GetParam().resolved);
    const QColor q = ToQColor(GetParam().color);
    EXPECT_EQ(FromQColor(q), GetParam().resolved);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SystemColour,
    testing::Values(ColourCase{clBtnFace, 0xC0C0C0}, ColourCase{clBtnShadow, 0x808080},
                    ColourCase{clBtnHighlight, 0xFFFFFF}, ColourCase{clWindowText, 0x000000},
                    ColourCase{clGrayText, 0x808080}, ColourCase{clInfoBk, 0xE1FFFF},
                    ColourCase{clSystemColor | 0x40, 0x000000}, ColourCase{0x00332211, 0x00332211},
                    ColourCase{clLime, 0x00FF00}));

TEST(SystemColour, ChannelsMapToQtsRedGreenBlue) {
    EXPECT_EQ(ToQColor(0x00332211).rgb(), qRgb(0x11, 0x22, 0x33));
}

struct FaceCase {
    const char* name;
    const char* family;
};

class FontFace : public testing::TestWithParam<FaceCase> {};

TEST_P(FontFace, PanelFacesMapToInstalledFonts) {
    EXPECT_EQ(MapFontFamily(GetParam().name), QString::fromLatin1(GetParam().family));
    TFont font;
    font.SetName(GetParam().name);
    EXPECT_EQ(QFontInfo(ToQFont(font)).family(), QString::fromLatin1(GetParam().family));
}

INSTANTIATE_TEST_SUITE_P(Faces, FontFace,
                         testing::Values(FaceCase{"Verdana", "DejaVu Sans"},
                                         FaceCase{"Arial", "Liberation Sans"},
                                         FaceCase{"MS Sans Serif", "Liberation Sans"},
                                         FaceCase{"ms sans serif", "Liberation Sans"},
                                         FaceCase{"Times New Roman", "Liberation Serif"}));

TEST(Font, UnknownNamesPassThrough) {
    EXPECT_EQ(MapFontFamily("Foo Bar"), "Foo Bar");
}

TEST(Font, HeightIsThePixelSizeWhateverItsSign) {
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.PixelSize(), 11);
    font.SetHeight(-29);
    EXPECT_EQ(font.PixelSize(), 29);
    EXPECT_EQ(ToQFont(font).pixelSize(), 29);
    font.SetHeight(0);
    EXPECT_EQ(font.PixelSize(), 1);
    font.SetSize(8); // 8 points at 96 pixels per inch
    EXPECT_EQ(font.Height(), 11);
    EXPECT_EQ(font.Size(), 8);
    font.SetSize(20);
    EXPECT_EQ(font.Height(), 27);
}

TEST(Font, StylesReachTheQtFont) {
    TFont font;
    font.SetStyle(FontStyleBit(fsBold) | FontStyleBit(fsUnderline));
    const QFont q = ToQFont(font);
    EXPECT_TRUE(q.bold());
    EXPECT_FALSE(q.italic());
    EXPECT_TRUE(q.underline());
    EXPECT_TRUE(font.Bold());
}

TEST(Font, ChangesNotifyOnlyWhenSomethingChanged) {
    TFont font;
    int changes = 0;
    font.SetOnChange([&](TPersistent* sender) {
        EXPECT_EQ(sender, &font);
        ++changes;
    });
    font.SetName("MS Sans Serif");
    font.SetHeight(11);
    EXPECT_EQ(changes, 0);
    font.SetName("Verdana");
    font.SetColor(clLime);
    font.SetCharset(RUSSIAN_CHARSET);
    EXPECT_EQ(changes, 3);
}

TEST(Font, AssignCopiesAllAndRefusesOtherClasses) {
    TFont from;
    from.SetName("Verdana");
    from.SetHeight(29);
    from.SetColor(clRed);
    from.SetStyle(FontStyleBit(fsBold));
    from.SetCharset(RUSSIAN_CHARSET);
    TFont to;
    int changes = 0;
    to.SetOnChange([&](TPersistent*) { ++changes; });
    to.Assign(from);
    EXPECT_EQ(to.Name(), "Verdana");
    EXPECT_EQ(to.Height(), 29);
    EXPECT_EQ(to.Color(), clRed);
    EXPECT_EQ(to.Style(), FontStyleBit(fsBold));
    EXPECT_EQ(to.Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(changes, 1);

    TPersistent other;
    try {
        to.Assign(other);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TPersistent to a TFont");
    }
    EXPECT_EQ(to.Name(), "Verdana");
}

TEST(Font, StoredPropertiesInOrderWithDefaults) {
    TFont font;
    const PropertyList props = font.StoredProperties();
    std::vector<std::string> names;
    for (const auto& p : props.Items())
        names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Style"}));
    // Applying a stored value goes through the setter.
    props.Find("Height")->set(font, PropertyValue(std::int64_t(-13)));
    props.Find("Name")->set(font, PropertyValue(std::string("Verdana")));
    EXPECT_EQ(font.PixelSize(), 13);
    EXPECT_EQ(std::get<std::string>(props.Find("Name")->get(font)), "Verdana");
}

struct FitCase {
    const char* name;
    int height;
    int width;
    const char* fittedName; // the face the text is drawn in
    int fittedHeight;
};

class FontFit : public testing::TestWithParam<FitCase> {};

// A text that fits keeps its font; one that does not takes the condensed
// face of its family, then smaller sizes, never below half.
TEST_P(FontFit, NarrowsOnlyWhatDoesNotFit) {
    const FitCase& c = GetParam();
    const std::string text = "Прямоугольный";
    TFont font;
    font.SetName(c.name);
    font.SetHeight(c.height);
    FitFontToWidth(font, text, c.width);
    EXPECT_EQ(font.Name(), c.fittedName);
    EXPECT_EQ(font.Height(), c.fittedHeight);
    if (c.fittedHeight > c.height / 2) {
        EXPECT_LE(CoveredTextWidth(ToQFont(font), QString::fromStdString(text)), c.width);
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, FontFit,
                         testing::Values(FitCase{"Verdana", 13, 140, "Verdana", 13},
                                         FitCase{"Verdana", 13, 103, "DejaVu Sans Condensed", 13},
                                         FitCase{"Verdana", 13, 80, "DejaVu Sans Condensed", 10},
                                         FitCase{"Verdana", 13, 10, "DejaVu Sans Condensed", 6},
                                         FitCase{"Arial", 13, 80, "Arial", 10}));
