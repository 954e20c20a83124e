// The vertex work `cTLSquare` and `cButton` share: building, moving, turning and drawing
// the four corners of a quad.
#pragma once

#include <array>
#include <cstdint>

#include "platform/display.h"
#include "render/quad.h"

namespace brikka::quad_ops {

// Corners of the rectangle in strip order (top-left, top-right, bottom-left, bottom-right),
// white, upright texture coordinates.
void Build(std::array<TLVertex, 4>& v, double left, double top, double width, double height);
void Translate(std::array<TLVertex, 4>& v, double xDir, double yDir);
// Moves the corners and the quad's public centre and top-left alike.
void Translate(std::array<TLVertex, 4>& v, double xDir, double yDir, double& centerx,
               double& left, double& centery, double& top);
void Rotate(std::array<TLVertex, 4>& v, int16_t Clockwise, const Vector2& cPnt, double& centerx,
            double& centery);
// Upright corners with the top-left at (x, y); texture coordinates stay as they are.
void PlaceTopLeft(std::array<TLVertex, 4>& v, float x, float y, double width, double height);
// Repaints the vertices unless `color` is 0, then draws them when there is a device.
void Draw(std::array<TLVertex, 4>& v, uint32_t color, platform::Device* device,
          const platform::Texture* tex);

}  // namespace brikka::quad_ops
