# A wind field over a region on a conformal conic map (as figure_wind.cpp).
import numpy as np
import matplotlib.pyplot as plt
import cartopy.crs as ccrs
lon, lat = np.meshgrid(np.arange(120, 151, 2), np.arange(25, 50, 2))
u = 10 + 8 * np.sin((lat - 25) * 0.25)
v = 6 * np.cos((lon - 120) * 0.2)
fig = plt.figure(figsize=(12 / 2.54, 10 / 2.54), layout="constrained")
ax = plt.axes(projection=ccrs.LambertConformal(central_longitude=135, standard_parallels=(29, 45)))
ax.set_extent([120, 150, 25, 49], ccrs.PlateCarree())
bands = ax.contourf(lon, lat, np.hypot(u, v), transform=ccrs.PlateCarree())
ax.quiver(lon, lat, u, v, transform=ccrs.PlateCarree())
ax.gridlines(draw_labels=True)
ax.set_title("WIND AT 850 hPa (m s$^{-1}$)")
fig.colorbar(bands, ax=ax)
fig.savefig("figure_wind.pdf")
