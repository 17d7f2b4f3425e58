#include "app/panels/color_subframe.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

#include "app/controls.h"
#include "app/event_watcher.h"
#include "app/panels/panel_input.h"
#include "app/row_list.h"
#include "editing/texture_tools.h"
#include "model/number_text.h"
#include "viewport/texture_objects.h"

namespace tamsel {

const ColorSubFrame::Kind ColorSubFrame::kTransparency{
    "trans", "opacity", 0, 255, 0, "updatetextransbut", "Transparency"};
const ColorSubFrame::Kind ColorSubFrame::kIllumination{
    "illum", "brightness", 1, 16, 8, "updatetexillumbut", "Illumination"};

ColorSubFrame::ColorSubFrame(PanelHost& host, const Kind& kind, QWidget* parent)
    : PropertyFrame(host, kind.prefix + "subframe", "", parent), kind_(kind) {
  const QString& p = kind.prefix;
  auto* layout = new QGridLayout(this);
  AsSubFrame(this, layout);

  // The marked rows say which textures have colours in this table: they follow the model,
  // and a click only chooses the texture to show.
  textures_ = ListBox(this, p + "texturelist");
  textures_->setSelectionMode(QAbstractItemView::NoSelection);
  layout->addWidget(textures_, 0, 0, 4, 1);
  layout->addWidget(viewer_ = Picture(this, p + "textureviewer"), 0, 1, 1, 3);

  auto* tint = new QHBoxLayout;
  tint->addWidget(tintDisplay_ = Swatch(this, p + "tintdisplay"));
  tint->addWidget(tintText_ = TextBox(this, p + "tinttext", "colour to add (R, G, B)"), 1);
  layout->addLayout(tint, 1, 1, 1, 3);

  // One column per channel, each under its heading.
  auto* table = new QGridLayout;
  const char* channels[3][2] = {
      {"redtintlist", "R"}, {"greentintlist", "G"}, {"bluetintlist", "B"}};
  for (int c = 0; c < 3; ++c) {
    RowList* list = ListBox(this, p + channels[c][0]);
    auto* heading = new QLabel(channels[c][1], this);
    heading->setAlignment(Qt::AlignHCenter);
    heading->setBuddy(list);
    table->addWidget(heading, 0, c);
    table->addWidget(list, 1, c);
    tints_[static_cast<std::size_t>(c)] = list;
    connect(list, &RowList::MouseUp, this, [this, c] { ChooseColorRow(c); });
  }
  layout->addLayout(table, 2, 1, 1, 3);
  auto* remove = Button(this, p + "removecolor", "Remove selected");
  layout->addWidget(remove, 3, 1, 1, 3);

  layout->addWidget(new QLabel(kind.strength, this), 4, 0);
  strengthBar_ = Slider(this, p + kind.strength + "bar", kind.strengthMin, kind.strengthMax,
                        kind.strengthStart);
  layout->addWidget(strengthBar_, 4, 1);
  layout->addWidget(strengthText_ = TextBox(this, p + kind.strength + "text", kind.strength), 4, 2);
  layout->addWidget(strengthDisplay_ = Swatch(this, p + kind.strength + "display"), 4, 3);

  layout->addWidget(new QLabel("color tolerance", this), 5, 0);
  layout->addWidget(toleranceBar_ = Slider(this, p + "colortolerancebar", 0, 255, 32), 5, 1);
  layout->addWidget(toleranceText_ = TextBox(this, p + "colortolerancetext", "color tolerance"), 5,
                    2);
  auto* update = Button(this, kind.update, "UPDATE");
  layout->addWidget(update, 6, 3);
  layout->setRowStretch(2, 1);
  PrefixCaptions(this, kind.caption);

  connect(textures_, &RowList::MouseUp, this, [this] { FocusListedTexture(); });
  viewer_->setMouseTracking(true);
  // Moves and clicks over the viewer, in its pixels; a click also picks the colour there.
  new EventWatcher(viewer_, {QEvent::MouseMove, QEvent::MouseButtonRelease}, [this](QEvent* event) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    ShowColorUnderPointer(at.x(), at.y());
    if (event->type() == QEvent::MouseButtonRelease) TakeColorUnderPointer();
  });
  connect(remove, &QPushButton::clicked, this, [this] { RemoveColorRow(); });
  connect(strengthBar_, &QScrollBar::valueChanged, this, [this] { StrengthFromSlider(); });
  connect(strengthText_, &QLineEdit::textEdited, this, [this] { StrengthFromText(); });
  connect(toleranceBar_, &QScrollBar::valueChanged, this, [this] { ToleranceFromSlider(); });
  connect(toleranceText_, &QLineEdit::textEdited, this, [this] { ToleranceFromText(); });
  connect(update, &QPushButton::clicked, this, [this] { ApplyColorBoxes(); });
}

void ColorSubFrame::Clear() {
  PropertyFrame::Clear();
  shownTexture_ = -1;
}

std::vector<RGB> ColorSubFrame::Table(const TextureRec& texture) const {
  return Transparency() ? texture.TransColors : texture.IllumColors;
}

void ColorSubFrame::Refresh(const ModelChange& change) {
  ShowTextureRows(change);
  const int t = focus().texture;
  textures_->SetListIndex(t >= 0 && t < textures_->ListCount() ? t : -1);
  // Colours added and not yet applied stay while the same texture is on show.
  if (!change.recordsUnchanged || change.everything || t != shownTexture_) ShowTexture(t);
}

void ColorSubFrame::ShowTextureRows(const ModelChange& change) {
  const Model& m = model();
  if (change.everything || change.textureList) {
    std::vector<QString> rows;
    for (const TextureRec& texture : m.Textures)
      rows.push_back(QString::fromStdString(texture.Name));
    textures_->SetRows(std::move(rows));
  }
  if (change.recordsUnchanged && !change.everything) return;
  for (int t = 0; t < m.TextureCount() && t < textures_->ListCount(); ++t) {
    const TextureRec& texture = m.Textures[static_cast<std::size_t>(t)];
    textures_->SetSelected(
        t, Transparency() ? texture.TransOpacity < 255 : texture.IllumColorCount() != 0);
  }
}

QImage ColorSubFrame::Marked(const QImage& picture, const std::vector<RGB>& rows, int tolerance) {
  QImage image = picture.convertToFormat(QImage::Format_RGB32);
  if (rows.empty()) return image;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
      for (const RGB& c : rows)
        if (std::abs(r - c[0]) <= tolerance && std::abs(g - c[1]) <= tolerance &&
            std::abs(b - c[2]) <= tolerance) {
          line[x] = qRgb(255, 0, 255);
          break;
        }
    }
  }
  return image;
}

void ColorSubFrame::ShowTexture(int t) {
  shownTexture_ = t;
  if (t < 0 || t >= model().TextureCount()) return;
  const TextureRec& texture = model().Textures[static_cast<std::size_t>(t)];
  const int strength = Transparency() ? texture.TransOpacity : texture.IllumBrightness;
  const int tolerance = Transparency() ? texture.TransTolerance : texture.IllumTolerance;
  strengthBar_->setValue(strength);
  strengthText_->setText(QString::number(strength));
  StrengthFromSlider();
  toleranceBar_->setValue(tolerance);
  toleranceText_->setText(QString::number(tolerance));
  const std::vector<RGB> rows = Table(texture);
  for (std::size_t c = 0; c < 3; ++c) {
    std::vector<QString> values;
    for (const RGB& row : rows) values.push_back(QString::number(row[c]));
    tints_[c]->SetRows(std::move(values));
  }
  const QImage* picture = host_.Textures().Picture(static_cast<std::size_t>(t));
  viewer_->setPixmap(QPixmap::fromImage(Marked(picture ? *picture : QImage(), rows, tolerance)));
}

void ColorSubFrame::FocusListedTexture() {
  focus().texture = textures_->ListIndex();
  host_.SelectionChanged(false);
}

void ColorSubFrame::ShowColorUnderPointer(int x, int y) {
  const int t = shownTexture_;
  if (t < 0 || t >= model().TextureCount()) return;
  // The colour is the bitmap's own, not the magenta of a mark drawn over it, so that a
  // marked colour can be picked again for the other table.
  const QImage* picture = host_.Textures().Picture(static_cast<std::size_t>(t));
  const bool inside = picture && x >= 0 && y >= 0 && x < picture->width() && y < picture->height();
  if (!inside) {
    tintText_->clear();
    return;
  }
  const QColor c = picture->pixelColor(x, y);
  SetBackColor(tintDisplay_, c.red(), c.green(), c.blue());
  tintText_->setText(QString("%1, %2, %3").arg(c.red()).arg(c.green()).arg(c.blue()));
}

void ColorSubFrame::TakeColorUnderPointer() {
  const int t = shownTexture_;
  if (t < 0 || t >= model().TextureCount() || tintText_->text().isEmpty()) return;
  const QColor c = tintDisplay_->palette().color(QPalette::Window);
  tints_[0]->AddItem(QString::number(c.red()));
  tints_[1]->AddItem(QString::number(c.green()));
  tints_[2]->AddItem(QString::number(c.blue()));
}

void ColorSubFrame::ChooseColorRow(int channel) {
  const int row = tints_[static_cast<std::size_t>(channel)]->ListIndex();
  if (row < 0) return;
  QStringList values;
  for (RowList* list : tints_) {
    list->SetListIndex(row);
    values << list->List(row);
  }
  SetBackColor(tintDisplay_, values[0].toInt(), values[1].toInt(), values[2].toInt());
  tintText_->setText(values.join(", "));
}

void ColorSubFrame::RemoveColorRow() {
  // One row goes from all three lists: the focused one, whichever list shows it.
  int row = -1;
  for (RowList* list : tints_)
    if (row < 0) row = list->ListIndex();
  if (row < 0) return;
  for (RowList* list : tints_) list->RemoveItem(row);
}

void ColorSubFrame::StrengthFromSlider() {
  const int value = strengthBar_->value();
  strengthText_->setText(QString::number(value));
  const int grey = Transparency() ? 255 - value : (value - 1) * 17;
  SetBackColor(strengthDisplay_, std::clamp(grey, 0, 255), std::clamp(grey, 0, 255),
               std::clamp(grey, 0, 255));
}

void ColorSubFrame::StrengthFromText() {
  BoxToSlider(strengthText_, strengthBar_);
}

void ColorSubFrame::ToleranceFromSlider() {
  toleranceText_->setText(QString::number(toleranceBar_->value()));
}

void ColorSubFrame::ToleranceFromText() {
  BoxToSlider(toleranceText_, toleranceBar_);
}

void ColorSubFrame::ApplyColorBoxes() {
  const int t = shownTexture_;
  if (t < 0 || t >= model().TextureCount()) return;
  std::vector<RGB> colours;
  for (int i = 0; i < tints_[0]->ListCount(); ++i) {
    std::optional<std::int64_t> v[3];
    for (std::size_t c = 0; c < 3; ++c) v[c] = ParseInteger(tints_[c]->List(i).toStdString());
    const auto byte = [](const std::optional<std::int64_t>& n) {
      return n && *n >= 0 && *n <= 255;
    };
    if (!byte(v[0]) || !byte(v[1]) || !byte(v[2])) {
      host_.Status(QString("Colour row %1 does not hold three values from 0 to 255").arg(i + 1));
      return;
    }
    colours.push_back({static_cast<std::uint8_t>(*v[0]), static_cast<std::uint8_t>(*v[1]),
                       static_cast<std::uint8_t>(*v[2])});
  }
  // The boxes as typed now: a box that does not hold a value of the slider's range refuses
  // the UPDATE, whatever the slider shows.
  const auto range = [](const QScrollBar* bar) {
    return "a whole number from " + QString::number(bar->minimum()) + " to " +
           QString::number(bar->maximum());
  };
  const auto strength = ReadWhole(strengthText_, strengthBar_->minimum(), strengthBar_->maximum(),
                                  host_, range(strengthBar_));
  if (!strength) return;
  const auto tolerance = ReadWhole(toleranceText_, toleranceBar_->minimum(),
                                   toleranceBar_->maximum(), host_, range(toleranceBar_));
  if (!tolerance) return;
  const ColorTable table = Transparency() ? ColorTable::Transparent : ColorTable::Illuminated;
  host_.Edit(Transparency() ? "Transparency UPDATE" : "Illumination UPDATE", [&](tamsel::Model& m) {
    UpdateTextureColors(m, t, table, static_cast<int>(*strength), static_cast<int>(*tolerance),
                        std::move(colours));
  });
}

}  // namespace tamsel
