# Two time series, the second on a logarithmic y axis (as figure_time_series.cpp).
import numpy as np
import matplotlib.pyplot as plt
t = 0.02 * np.arange(500)
y = np.sin(2 * t) * np.exp(-0.2 * t)
z = np.exp(0.5 * t)
fig, (ax1, ax2) = plt.subplots(2, 1, figsize=(16 / 2.54, 10 / 2.54), layout="constrained")
ax1.plot(t, y, color="red")
ax1.set_ylabel("displacement (m)")
ax1.set_title("DAMPED OSCILLATION")
ax2.plot(t, z, color="green")
ax2.set_yscale("log")
ax2.set_xlabel("time t (s)")
ax2.set_ylabel("$e^{t/2}$")
ax2.set_title("EXPONENTIAL GROWTH")
fig.savefig("figure_time_series.pdf")
