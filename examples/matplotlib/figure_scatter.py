# A scatter of 10^5 points coloured by a value (as figure_scatter.cpp).
import numpy as np
import matplotlib.pyplot as plt
rng = np.random.default_rng(1)
x = rng.normal(size=100000)
y = 0.5 * x + rng.normal(size=100000)
fig, ax = plt.subplots(figsize=(12 / 2.54, 10 / 2.54), layout="constrained")
points = ax.scatter(x, y, c=np.hypot(x, y), s=1, vmin=0, vmax=4)
ax.set_xlabel("x")
ax.set_ylabel("y")
ax.set_title("$10^5$ POINTS COLOURED BY DISTANCE")
fig.colorbar(points, ax=ax)
fig.savefig("figure_scatter.pdf")
