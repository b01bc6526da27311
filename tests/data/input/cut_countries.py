# Cuts named countries out of a world-atlas TopoJSON, with only the arcs they use, renumbered.
import json, sys
source, names, target = sys.argv[1], sys.argv[2].split(','), sys.argv[3]
t = json.load(open(source))
kept = [g for g in t['objects']['countries']['geometries'] if g['properties'].get('name') in names]
order = {}
def renumber(a):
    if isinstance(a, list):
        return [renumber(b) for b in a]
    i = a if a >= 0 else ~a
    order.setdefault(i, len(order))
    return order[i] if a >= 0 else ~order[i]
for g in kept:
    g['arcs'] = renumber(g['arcs'])
arcs = [None] * len(order)
for i, j in order.items():
    arcs[j] = t['arcs'][i]
out = {'type': 'Topology', 'objects': {'countries': {'type': 'GeometryCollection', 'geometries': kept}},
       'arcs': arcs, 'transform': t['transform']}
json.dump(out, open(target, 'w'), separators=(',', ':'))
