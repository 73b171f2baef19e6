#pragma once

// Stored sizes and positions are in twips (1/1440 inch), as the database keeps them; the screen
// works in pixels at 96 per logical inch.
constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips)
{
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr int PixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}
