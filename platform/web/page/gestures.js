// The arithmetic of the canvas's pointer and touch input and of its drawing buffer: plain
// functions of plain values. Distances are CSS pixels unless named device or buffer pixels.

export const LONG_PRESS_MS = 500;  // a finger held this long opens the menu
export const DOUBLE_TAP_MS = 300;  // two taps within this are a double tap
export const STILL_PX = 10;        // a finger that moves less is still
export const FINGER_PX = 44;       // a fingertip's width, kept between it and the menu

// The drawing buffer's pixel under a page point, for a canvas whose box (`rect`, in the
// viewport) shows a buffer of `size`, with the page scrolled by `scroll`.
export function toBuffer(point, rect, scroll, size) {
  return [Math.floor(((point.pageX - scroll[0] - rect.left) * size[0]) / rect.width),
    Math.floor(((point.pageY - scroll[1] - rect.top) * size[1]) / rect.height)];
}

export const distance = (a, b) => Math.hypot(a[0] - b[0], a[1] - b[1]);
export const midpoint = (a, b) => [Math.round((a[0] + b[0]) / 2), Math.round((a[1] + b[1]) / 2)];

// Whether a tap ({time, pageX, pageY}) follows `last` closely enough to make a double tap.
export function isDoubleTap(last, tap) {
  return !!last && tap.time - last.time < DOUBLE_TAP_MS &&
    Math.hypot(tap.pageX - last.pageX, tap.pageY - last.pageY) < 3 * STILL_PX;
}

// The drawing buffer for a canvas of CSS size `width` x `height` at `dpr` device pixels per CSS
// pixel: [width, height, density]. The exact device-pixel size (`devicePixels`), where the browser
// gives it, beats the rounded product, which may miss it by a pixel; one that disagrees with the
// density by more comes from an emulated screen, which the browser lays out at the density.
export function bufferSize(width, height, dpr, devicePixels = null) {
  let w = Math.round(width * dpr), h = Math.round(height * dpr);
  if (devicePixels && Math.abs(devicePixels[0] - width * dpr) <= 1 &&
      Math.abs(devicePixels[1] - height * dpr) <= 1) {
    [w, h] = devicePixels;
  }
  w = Math.max(1, w);
  h = Math.max(1, h);
  return [w, h, width ? w / width : dpr];
}
