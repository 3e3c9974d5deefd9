// UI art: the icon sheet, the mode buttons, the on-screen pad pieces and
// the arcade-stick symbol. Icons are light discs with dark glyphs: the game
// tints them (blue resume, red quit, green sound), and a tint keeps a dark
// glyph dark, so every icon stays readable in any colour.
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/draw_kit.h"

namespace art {
namespace {

void IconDisc(cairo_t* cr) {
    kit::Circle(cr, 16, 16, 13.5);
    kit::FillVertical(cr, 3, pal::kWhite, 29, pal::kMist);
    kit::Outline(cr, 2.2);
}

void InkLines(cairo_t* cr, double width) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    kit::Outline(cr, width);
}

void Speaker(cairo_t* cr, double dx) {
    const double body[] = {8 + dx, 13, 12 + dx, 13, 17 + dx, 8.5, 17 + dx, 23.5, 12 + dx, 19, 8 + dx, 19};
    kit::Polygon(cr, body, 6);
    kit::SetColour(cr, pal::kInk);
    cairo_fill_preserve(cr);
    kit::Outline(cr, 1.2);
}

void Note(cairo_t* cr, double x, double y, double s) {
    // An eighth note whose head sits at (x, y); s scales it.
    kit::Ellipse(cr, x, y, 2.6 * s, 2.0 * s);
    kit::SetColour(cr, pal::kInk);
    cairo_fill(cr);
    cairo_move_to(cr, x + 2.2 * s, y);
    cairo_line_to(cr, x + 2.2 * s, y - 9 * s);
    cairo_curve_to(cr, x + 4 * s, y - 7 * s, x + 6 * s, y - 7 * s, x + 5.5 * s, y - 3.5 * s);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    kit::Outline(cr, 1.5 * s);
}

void Spark(cairo_t* cr, double x, double y, double s) {
    kit::Star(cr, x, y, 5.2 * s, 1.8 * s, 4, 0);
    kit::SetColour(cr, pal::kInk);
    cairo_fill(cr);
}

// The sound-mode marks sit in the lower right of their frame: the game
// draws them beside the sound button, overlapping its right edge.
void ModeMark(cairo_t* cr, int kind) {
    kit::Circle(cr, 23, 22, 7.5);
    kit::FillVertical(cr, 14, pal::kWhite, 30, pal::kMist);
    kit::Outline(cr, 1.6);
    if (kind == 0) {  // all: a note and a spark
        Note(cr, 21, 25, 0.65);
        Spark(cr, 26.3, 19.5, 0.55);
    } else if (kind == 1) {  // effects only: a spark
        Spark(cr, 23, 22, 1.0);
    } else {  // music only: a note
        Note(cr, 21.5, 25, 0.9);
    }
}

void Gear(cairo_t* cr) {
    cairo_new_path(cr);
    for (int i = 0; i < 32; ++i) {  // eight teeth
        double r = (i % 4 < 2) ? 9.5 : 7;
        double a = kit::Rad(i * 11.25 - 5.625);
        double x = 16 + r * std::sin(a), y = 16 - r * std::cos(a);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 16, 16, 3, 0, 2 * kit::kPi);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    kit::SetColour(cr, pal::kInk);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

}  // namespace

void Icon(cairo_t* cr, int frame) {
    switch (frame) {
        case 0:  // pause
            IconDisc(cr);
            kit::RoundedRect(cr, 10.5, 9.5, 4, 13, 1.2);
            kit::SetColour(cr, pal::kInk);
            cairo_fill(cr);
            kit::RoundedRect(cr, 17.5, 9.5, 4, 13, 1.2);
            cairo_fill(cr);
            break;
        case 1:  // quit
            IconDisc(cr);
            cairo_move_to(cr, 11, 11);
            cairo_line_to(cr, 21, 21);
            cairo_move_to(cr, 21, 11);
            cairo_line_to(cr, 11, 21);
            InkLines(cr, 3.4);
            break;
        case 2: {  // home (spare)
            IconDisc(cr);
            const double house[] = {16, 8.5, 23.5, 15, 21.5, 15, 21.5, 22.5, 10.5, 22.5, 10.5, 15, 8.5, 15};
            kit::Polygon(cr, house, 7);
            kit::SetColour(cr, pal::kInk);
            cairo_fill(cr);
            break;
        }
        case 3: {  // resume
            IconDisc(cr);
            const double play[] = {12.5, 9.5, 22.5, 16, 12.5, 22.5};
            kit::Polygon(cr, play, 3);
            kit::SetColour(cr, pal::kInk);
            cairo_fill_preserve(cr);
            kit::Outline(cr, 1.6);
            break;
        }
        case 4:  // sound on
            IconDisc(cr);
            Speaker(cr, -1);
            cairo_new_path(cr);
            cairo_arc(cr, 16, 16, 3.6, kit::Rad(-50), kit::Rad(50));
            cairo_new_sub_path(cr);
            cairo_arc(cr, 16, 16, 7, kit::Rad(-50), kit::Rad(50));
            InkLines(cr, 1.8);
            break;
        case 5:  // sound off
            IconDisc(cr);
            Speaker(cr, -2);
            cairo_move_to(cr, 18.5, 12.5);
            cairo_line_to(cr, 24, 19.5);
            cairo_move_to(cr, 24, 12.5);
            cairo_line_to(cr, 18.5, 19.5);
            InkLines(cr, 2.2);
            break;
        case 6:  // selection ring, drawn larger than the icon it surrounds
            kit::Circle(cr, 16, 16, 14);
            kit::Outline(cr, 4.2);
            kit::Circle(cr, 16, 16, 14);
            kit::Outline(cr, 2.2, pal::kWhite);
            break;
        case 7:  // music (spare)
            IconDisc(cr);
            Note(cr, 14, 20.5, 1.1);
            break;
        case 8:
        case 9:
        case 10:
            ModeMark(cr, frame - 8);
            break;
        case 11:  // star (spare)
            IconDisc(cr);
            kit::Star(cr, 16, 16.8, 8.5, 3.6, 5);
            kit::SetColour(cr, pal::kInk);
            cairo_fill(cr);
            break;
        case 12:  // check (spare)
            IconDisc(cr);
            cairo_move_to(cr, 10, 16.5);
            cairo_line_to(cr, 14.2, 20.5);
            cairo_line_to(cr, 22, 11.5);
            InkLines(cr, 3.2);
            break;
        case 13:  // settings (spare)
            IconDisc(cr);
            Gear(cr);
            break;
        case 14:  // info (spare)
            IconDisc(cr);
            kit::Circle(cr, 16, 10.5, 1.9);
            kit::SetColour(cr, pal::kInk);
            cairo_fill(cr);
            cairo_move_to(cr, 16, 14.5);
            cairo_line_to(cr, 16, 22);
            InkLines(cr, 3.2);
            break;
        default: {  // trophy (spare)
            IconDisc(cr);
            cairo_move_to(cr, 10.5, 9);
            cairo_line_to(cr, 21.5, 9);
            cairo_curve_to(cr, 21.5, 15, 19, 17.5, 16, 17.5);
            cairo_curve_to(cr, 13, 17.5, 10.5, 15, 10.5, 9);
            kit::SetColour(cr, pal::kInk);
            cairo_fill(cr);
            kit::RoundedRect(cr, 14.8, 17, 2.4, 4, 0.5);
            cairo_fill(cr);
            kit::RoundedRect(cr, 11.5, 21, 9, 2.8, 0.8);
            cairo_fill(cr);
            break;
        }
    }
}

namespace {
struct ModeLook {
    Rgb colour;
    int hearts;
    const char* word;
};
// Easy, normal, hard: five, three and one spare lives.
constexpr ModeLook kModes[3] = {
    {pal::kGrass, 5, "EASY"},
    {pal::kAmber, 3, "NORMAL"},
    {pal::kBrick, 1, "HARD"},
};

void HeartsPanel(cairo_t* cr, int hearts) {
    kit::RoundedRect(cr, 11, 11, 42, 28, 6);
    kit::SetColour(cr, pal::kPaper, 0.95);
    cairo_fill_preserve(cr);
    kit::Outline(cr, 1.4, pal::kInk, 0.6);
    if (hearts == 5) {
        const double xs[] = {19, 32, 45, 25.5, 38.5};
        for (int i = 0; i < 5; ++i) kit::Heart(cr, xs[i], i < 3 ? 19.5 : 30.5, 11.5);
    } else if (hearts == 3) {
        for (int i = 0; i < 3; ++i) kit::Heart(cr, 19.5 + 12.5 * i, 25, 12.5);
    } else {
        kit::Heart(cr, 32, 25.5, 21);
    }
}
}  // namespace

void ModeButton(cairo_t* cr, int frame) {
    if (frame <= 2) {
        const ModeLook& look = kModes[frame];
        kit::RoundedRect(cr, 5, 5, 54, 54, 11);
        kit::FillVertical(cr, 5, kit::Lighter(look.colour, 0.25), 59, kit::Darker(look.colour, 0.2));
        kit::Outline(cr, 2.6);
        kit::RoundedRect(cr, 8.5, 7.5, 47, 12, 6);
        kit::SetColour(cr, pal::kWhite, 0.22);
        cairo_fill(cr);
        HeartsPanel(cr, look.hearts);
        double w = kit::PixelTextWidth(look.word, 1);
        double x = std::floor(32 - w / 2), y = 44;
        kit::PixelText(cr, look.word, x + 1, y + 1, 1, pal::kInk, 0.8);
        kit::PixelText(cr, look.word, x, y, 1, pal::kWhite);
    } else if (frame == 15) {
        // Selection frame, laid over the chosen button.
        kit::RoundedRect(cr, 2.5, 2.5, 59, 59, 13);
        kit::Outline(cr, 4.6);
        kit::RoundedRect(cr, 2.5, 2.5, 59, 59, 13);
        kit::Outline(cr, 2.4, Hex(0xFFF27A));
        for (int i = 0; i < 4; ++i) {
            double x = (i % 2) ? 58 : 6, y = (i / 2) ? 58 : 6;
            kit::Star(cr, x, y, 5.5, 1.6, 4);
            kit::SetColour(cr, pal::kWhite);
            cairo_fill_preserve(cr);
            kit::Outline(cr, 1, pal::kInk);
        }
    }
    // Frames 3..14 are spare.
}

namespace {
void PadKey(cairo_t* cr, bool pressed) {
    kit::RoundedRect(cr, 3, 3, 26, 26, 6);
    if (pressed)
        kit::FillVertical(cr, 3, pal::kSun, 29, pal::kSunDeep, 0.95);
    else
        kit::FillVertical(cr, 3, pal::kWhite, 29, pal::kMist, 0.85);
    kit::Outline(cr, 2);
}

void Arrow(cairo_t* cr, int direction, bool pressed) {
    cairo_save(cr);
    cairo_translate(cr, 16, 16);
    cairo_rotate(cr, kit::Rad(90.0 * direction));
    const double tri[] = {0, -7, 7, 4, -7, 4};
    kit::Polygon(cr, tri, 3);
    cairo_restore(cr);
    kit::SetColour(cr, pressed ? pal::kWhite : pal::kInk);
    cairo_fill_preserve(cr);
    kit::Outline(cr, 1.5);
}

void BaseQuarter(cairo_t* cr, double cx, double cy) {
    kit::Circle(cr, cx, cy, 30);
    kit::SetColour(cr, pal::kInk, 0.35);
    cairo_fill_preserve(cr);
    kit::Outline(cr, 2, pal::kWhite, 0.6);
}

void RoundKey(cairo_t* cr, Rgb colour, bool pressed) {
    kit::Circle(cr, 16, 16, 12.5);
    kit::FillVertical(cr, 3, kit::Lighter(colour, pressed ? 0.5 : 0.2), 29, kit::Darker(colour, 0.2));
    kit::Outline(cr, 2);
    kit::Ellipse(cr, 12, 11, 4, 2.4);
    kit::SetColour(cr, pal::kWhite, pressed ? 0.8 : 0.45);
    cairo_fill(cr);
}
}  // namespace

void DpadPiece(cairo_t* cr, int frame) {
    // 0..3 keys up, right, down, left; 4..7 the same pressed; 8, 9 the hub;
    // 10..13 quarters of the base disc (top left, top right, bottom left,
    // bottom right); 14, 15 a fire key and the same pressed.
    if (frame < 8) {
        PadKey(cr, frame >= 4);
        Arrow(cr, frame % 4, frame >= 4);
    } else if (frame < 10) {
        kit::Circle(cr, 16, 16, 9);
        kit::FillVertical(cr, 7, frame == 9 ? pal::kSun : pal::kWhite, 25, frame == 9 ? pal::kSunDeep : pal::kMist);
        kit::Outline(cr, 2);
        kit::Circle(cr, 16, 16, 3);
        kit::SetColour(cr, pal::kInk, 0.6);
        cairo_fill(cr);
    } else if (frame < 14) {
        int q = frame - 10;
        BaseQuarter(cr, (q % 2) ? 0 : 32, (q / 2) ? 0 : 32);
    } else {
        RoundKey(cr, pal::kBrick, frame == 15);
    }
}

void ArcadeStick(cairo_t* cr, int frame) {
    const bool on = frame == 1;
    // Base box with two buttons and a lamp.
    kit::RoundedRect(cr, 8, 40, 48, 17, 5);
    kit::FillVertical(cr, 40, Hex(0x5A6078), 57, Hex(0x2A2E42));
    kit::Outline(cr, 2);
    kit::Circle(cr, 47, 48.5, 3.2);
    kit::SetColour(cr, on ? pal::kSun : Hex(0x8A8FA3));
    cairo_fill_preserve(cr);
    kit::Outline(cr, 1.2);
    kit::Circle(cr, 15, 48.5, 2.2);
    kit::SetColour(cr, on ? pal::kGrass : Hex(0x3C4A40));
    cairo_fill(cr);
    // Shaft and ball; tilted while active.
    double bx = on ? 42 : 32, by = on ? 17 : 15;
    Rgb ball = on ? Hex(0xF03C3C) : Hex(0x9A9AA8);
    if (on) {
        kit::Circle(cr, bx, by, 15);
        cairo_pattern_t* g = cairo_pattern_create_radial(bx, by, 6, bx, by, 15);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.85, 0.4, 0.6);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.85, 0.4, 0);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    cairo_move_to(cr, 32, 45);
    cairo_line_to(cr, bx, by);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    kit::Outline(cr, 6.5);
    cairo_move_to(cr, 32, 45);
    cairo_line_to(cr, bx, by);
    kit::Outline(cr, 3.5, Hex(0xB8BCCB));
    kit::Ellipse(cr, 32, 44.5, 7, 2.6);
    kit::SetColour(cr, Hex(0x1E2133));
    cairo_fill(cr);
    kit::Circle(cr, bx, by, 9);
    kit::FillVertical(cr, by - 9, kit::Lighter(ball, 0.3), by + 9, kit::Darker(ball, 0.3));
    kit::Outline(cr, 2);
    kit::Ellipse(cr, bx - 3, by - 3.5, 3.2, 2);
    kit::SetColour(cr, pal::kWhite, 0.75);
    cairo_fill(cr);
    if (on) {  // motion marks
        cairo_new_path(cr);
        cairo_arc(cr, 32, 45, 34, kit::Rad(-70), kit::Rad(-40));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        kit::Outline(cr, 2, pal::kWhite, 0.9);
        cairo_new_path(cr);
        cairo_arc(cr, 32, 45, 39, kit::Rad(-64), kit::Rad(-48));
        kit::Outline(cr, 2, pal::kWhite, 0.7);
    }
}

}  // namespace art
