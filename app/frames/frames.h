// Builders of the window's frames. Each creates its controls with their names, captions,
// tool tips and start values; the window wires the handlers.
#pragma once

class QWidget;
class QGroupBox;

namespace tamsel {

QGroupBox* BuildGeometryFrame(QWidget* parent);
QGroupBox* BuildTextureFrame(QWidget* parent);
QGroupBox* BuildHitzoneFrame(QWidget* parent);
QGroupBox* BuildRotationFrame(QWidget* parent);
QGroupBox* BuildHardpointFrame(QWidget* parent);
QGroupBox* BuildEngineGlowFrame(QWidget* parent);
QGroupBox* BuildViewOptionFrame(QWidget* parent);

}  // namespace tamsel
