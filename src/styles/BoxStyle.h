#pragma once

#include "styles/ExtraColumnStyle.h"

// The box style "REGBOX": the standard style whose picking sheet has a "Box" column to fill in.
class BoxStyle : public ExtraColumnStyle
{
public:
    using ExtraColumnStyle::ExtraColumnStyle;

protected:
    PickingColumns pickingColumns() const override;
    QString pickingRemarks() const override;
    QStringList matrixCellCells(const QString &quantity) const override;
    QStringList itemCells(const QString &quantity) const override;
};

// The print procedure of "REGBOX".
QString PrintBoxStyle(PageEngine &engine, const PrintRequest &request);
