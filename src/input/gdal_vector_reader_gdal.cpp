// Reads any other vector file GDAL knows (Shapefile, GeoPackage, FlatGeobuf, GML, TopoJSON,
// ...), every position transformed to WGS 84 longitude, latitude.
#include "gdal/gdal_gate.h"
#include "gdal/gdal_messages.h"
#include "input/document_readers.h"
#include "input/document_text.h"
#include "input/feature_candidates.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <gdal_priv.h>
#include <memory>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>
#include <string>
#include <vector>

namespace {

// GeometryCollections may nest; a bound keeps a hostile file from exhausting the stack.
constexpr int kMaxGeometryDepth = 32;

// tavra's reason, with what GDAL said about it, if anything.
std::string withGdalReason(const GdalMessages& messages, const std::string& tavraSays) {
    const std::string said = messages.summary("");
    return said.empty() ? tavraSays : tavraSays + " (GDAL: " + said + ")";
}

struct OgrTransformDeleter {
    void operator()(OGRCoordinateTransformation* transform) const {
        OGRCoordinateTransformation::DestroyCT(transform);
    }
};
using TransformPtr = std::unique_ptr<OGRCoordinateTransformation, OgrTransformDeleter>;

struct GdalRead {
    std::string format; // GDAL's name of the driver, as messages call the file
    std::string fileName;
    std::string where; // the layer and feature being read, for messages
    std::string error; // the first refusal; reading stops there
    FeatureCandidates candidates;
};

bool refuse(GdalRead& read, std::string_view text, std::string_view reason) {
    read.error = documentRefusal(read.format, read.fileName + read.where, 0, text, reason);
    return false;
}

// These formats are WGS 84 longitude, latitude by their own definition, so a layer of
// theirs needs no coordinate reference system of its own.
bool isWgs84ByDefinition(const std::string& driver) {
    constexpr std::array<std::string_view, 6> kDrivers{"GeoJSON", "GeoJSONSeq", "TopoJSON",
                                                       "KML",     "LIBKML",     "GPX"};
    for (std::string_view known : kDrivers) {
        if (driver == known) {
            return true;
        }
    }
    return false;
}

std::string shortestText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// GDAL hands over doubles, not text; a value no decimal number could spell (NaN,
// infinity) or outside its range is refused as in every other format.
bool readPoint(GdalRead& read, const OGRPoint& source, SourcePoint& point) {
    point.lon = source.getX();
    point.lat = source.getY();
    for (const auto& [axis, value] :
         {std::pair{Axis::longitude, point.lon}, std::pair{Axis::latitude, point.lat}}) {
        const std::string reason =
            std::isfinite(value) ? checkCoordinate(axis, value)
                                 : (axis == Axis::latitude ? "latitude must be a finite number"
                                                           : "longitude must be a finite number");
        if (!reason.empty()) {
            return refuse(read, shortestText(value), reason);
        }
    }
    return true;
}

bool readCurve(GdalRead& read, const OGRSimpleCurve& curve, std::vector<SourcePoint>& points) {
    OGRPoint vertex;
    for (int i = 0; i < curve.getNumPoints(); ++i) {
        curve.getPoint(i, &vertex);
        SourcePoint point;
        if (!readPoint(read, vertex, point)) {
            return false;
        }
        points.push_back(point);
    }
    return true;
}

bool readPolygon(GdalRead& read, const OGRPolygon& polygon, SourceFeature& area) {
    for (const OGRLinearRing* ring : polygon) {
        std::vector<SourcePoint> points;
        if (!readCurve(read, *ring, points)) {
            return false;
        }
        const std::string reason = openClosedRing(points);
        if (!reason.empty()) {
            return refuse(read, "", reason);
        }
        area.rings.push_back(std::move(points));
    }
    return !area.rings.empty();
}

SourceFeature partOf(const GdalRead& read, FeatureShape shape, std::string_view what) {
    SourceFeature feature;
    feature.shape = shape;
    feature.kind = read.format + " " + std::string(what);
    return feature;
}

bool readGeometry(GdalRead& read, const OGRGeometry& geometry, int depth,
                  std::vector<SourceFeature>& parts) {
    if (geometry.IsEmpty()) {
        return true;
    }
    switch (wkbFlatten(geometry.getGeometryType())) {
    case wkbPoint: {
        SourcePoint point;
        if (!readPoint(read, *geometry.toPoint(), point)) {
            return false;
        }
        addPoint(read.candidates, point);
        return true;
    }
    case wkbLineString:
    case wkbLinearRing: {
        SourceFeature line = partOf(read, FeatureShape::route, "line");
        if (!readCurve(read, *geometry.toSimpleCurve(), line.points)) {
            return false;
        }
        parts.push_back(std::move(line));
        return true;
    }
    case wkbMultiPoint: {
        SourceFeature run = partOf(read, FeatureShape::route, "points");
        for (const OGRPoint* source : *geometry.toMultiPoint()) {
            SourcePoint point;
            if (source->IsEmpty()) {
                continue;
            }
            if (!readPoint(read, *source, point)) {
                return false;
            }
            run.points.push_back(point);
        }
        parts.push_back(std::move(run));
        return true;
    }
    case wkbPolygon: {
        SourceFeature area = partOf(read, FeatureShape::area, "polygon");
        if (readPolygon(read, *geometry.toPolygon(), area)) {
            parts.push_back(std::move(area));
        }
        return read.error.empty();
    }
    case wkbMultiLineString:
    case wkbMultiPolygon:
    case wkbGeometryCollection:
        // Each line and each polygon of a multi-part feature is a candidate of its own:
        // joining lines would add a leg nobody drew.
        if (depth >= kMaxGeometryDepth) {
            return refuse(read, "", "geometry collections nested too deeply");
        }
        for (const OGRGeometry* part : *geometry.toGeometryCollection()) {
            if (!readGeometry(read, *part, depth + 1, parts)) {
                return false;
            }
        }
        return true;
    default:
        return refuse(read, geometry.getGeometryName(),
                      "a geometry type that is neither point, line nor polygon");
    }
}

// Transforms to WGS 84 longitude, latitude; none where the layer already is that.
bool makeTransform(GdalRead& read, const GdalMessages& messages, OGRLayer& layer,
                   TransformPtr& transform) {
    const OGRSpatialReference* layerReference = layer.GetSpatialRef();
    if (layerReference == nullptr) {
        return isWgs84ByDefinition(read.format) ||
               refuse(read, "",
                      "no coordinate reference system, so its positions could be anywhere "
                      "(a Shapefile keeps it in a .prj file beside the .shp)");
    }
    OGRSpatialReference source(*layerReference);
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRSpatialReference wgs84;
    wgs84.SetWellKnownGeogCS("WGS84");
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (source.IsSame(&wgs84)) {
        return true;
    }
    transform.reset(OGRCreateCoordinateTransformation(&source, &wgs84));
    return transform != nullptr ||
           refuse(read, "",
                  withGdalReason(messages,
                                 "no transformation from its coordinate reference system to "
                                 "WGS 84"));
}

std::string featureName(OGRFeature& feature) {
    // GDAL looks field names up ignoring case: name, Name and NAME all count.
    const int field = feature.GetFieldIndex("name");
    if (field < 0 || !feature.IsFieldSetAndNotNull(field)) {
        return "";
    }
    return feature.GetFieldAsString(field);
}

bool readLayerFeatures(GdalRead& read, const GdalMessages& messages, OGRLayer& layer) {
    // A table without geometry (a GeoPackage's attribute table, say) holds no positions
    // and needs no coordinate reference system.
    if (layer.GetLayerDefn()->GetGeomFieldCount() == 0) {
        return true;
    }
    const std::string layerWhere = " layer \"" + std::string(layer.GetName()) + "\"";
    read.where = layerWhere;
    TransformPtr transform;
    if (!makeTransform(read, messages, layer, transform)) {
        return false;
    }
    layer.ResetReading();
    std::vector<SourceFeature> parts;
    for (const OGRFeatureUniquePtr& feature : layer) {
        read.where = layerWhere + " feature " + std::to_string(feature->GetFID());
        OGRGeometryUniquePtr geometry(feature->StealGeometry());
        if (geometry == nullptr) {
            continue;
        }
        // Arcs and curves become the lines GDAL approximates them by.
        if (geometry->hasCurveGeometry()) {
            geometry.reset(geometry->getLinearGeometry());
        }
        if (transform != nullptr && geometry->transform(transform.get()) != OGRERR_NONE) {
            return refuse(
                read, "",
                withGdalReason(messages, "its positions cannot be transformed to WGS 84"));
        }
        if (!readGeometry(read, *geometry, 0, parts)) {
            return false;
        }
        addParts(read.candidates, featureName(*feature), parts);
    }
    read.where.clear();
    return true;
}

// GDAL ends a layer early, as if at its end, where it cannot read on (a truncated file, a
// layer whose data cannot be found); only what it said tells the two apart.
bool readLayer(GdalRead& read, const GdalMessages& messages, OGRLayer& layer) {
    const std::size_t failuresBefore = messages.failures().size();
    if (!readLayerFeatures(read, messages, layer)) {
        return false;
    }
    if (messages.failures().size() > failuresBefore) {
        read.where = " layer \"" + std::string(layer.GetName()) + "\"";
        return refuse(read, "",
                      "GDAL could not read it to its end (GDAL: " +
                          messages.failures()[failuresBefore] + ")");
    }
    return true;
}

} // namespace

bool gdalRecognises(const std::string& path) {
    return !path.empty() && gdalTakesForVector(path);
}

DocumentResult readWithGdal(const std::string& path, const std::string& fileName,
                            std::string_view bytes) {
    DocumentResult result;
    GdalMessages messages;
    GdalRead read;
    read.format = "GIS";
    read.fileName = fileName;
    GdalOpening opening =
        path.empty() ? openGdalBytes(bytes, GdalUse::vector) : openGdalFile(path, GdalUse::vector);
    const GDALDatasetUniquePtr& dataset = opening.dataset;
    if (opening.refusal == GdalRefusal::unreadable) {
        refuse(read, "", withGdalReason(messages, "not a vector file that GDAL can open"));
    } else if (opening.refusal != GdalRefusal::none) {
        refuse(read, "", opening.reason);
    } else if (!messages.failures().empty()) {
        // Opened, but not whole: a layer whose data GDAL could not find already failed.
        refuse(read, "", "GDAL could not read it (GDAL: " + messages.failures().front() + ")");
    } else if (dataset->GetLayerCount() == 0) {
        refuse(read, "", withGdalReason(messages, "GDAL finds no layer in it"));
    } else {
        read.format = dataset->GetDriver()->GetDescription();
        result.document.format = read.format;
        bool ok = true;
        for (OGRLayer* layer : dataset->GetLayers()) {
            ok = ok && readLayer(read, messages, *layer);
        }
        if (ok) {
            result.document.features = finishCandidates(read.candidates, read.format + " points");
        }
    }
    if (!read.error.empty()) {
        result.ok = false;
        result.error = std::move(read.error);
        result.document.features.clear();
    }
    return result;
}
