#include "charts/GraphScene.h"

namespace pondrel {

void GraphScene::Line(int x1, int y1, int x2, int y2, GraphColour colour, int width) {
    GraphItem item;
    item.kind = GraphItem::Kind::Line;
    item.colour = colour;
    item.penWidth = width;
    item.points = {{x1, y1}, {x2, y2}};
    items.push_back(std::move(item));
}

void GraphScene::Polyline(std::vector<GraphPoint> points, GraphColour colour, int width) {
    GraphItem item;
    item.kind = GraphItem::Kind::Polyline;
    item.colour = colour;
    item.penWidth = width;
    item.points = std::move(points);
    items.push_back(std::move(item));
}

void GraphScene::Text(std::u16string text, int left, int top, int right, int bottom, int fontHeight,
                      GraphColour colour, GraphItem::Align align, GraphItem::VAlign valign) {
    GraphItem item;
    item.kind = GraphItem::Kind::Text;
    item.colour = colour;
    item.points = {{left, top}, {right, bottom}};
    item.text = std::move(text);
    item.fontHeight = fontHeight;
    item.align = align;
    item.valign = valign;
    items.push_back(std::move(item));
}

void GraphScene::Fill(const GraphRect& box, GraphColour colour) {
    GraphItem item;
    item.kind = GraphItem::Kind::Fill;
    item.colour = colour;
    item.points = {{box.left, box.top}, {box.right, box.bottom}};
    items.push_back(std::move(item));
}

std::vector<std::u16string> GraphScene::Texts() const {
    std::vector<std::u16string> texts;
    for (const GraphItem& item : items) {
        if (item.kind == GraphItem::Kind::Text) texts.push_back(item.text);
    }
    return texts;
}

}  // namespace pondrel
