# A global field on Mollweide and on the northern hemisphere in polar
# stereographic projection, bands, lines and colour bars (as figure_global_field.cpp).
import numpy as np
import matplotlib.pyplot as plt
import cartopy.crs as ccrs
lon = np.arange(-180, 181, 5)
lat = np.arange(-90, 91, 5)
x, y = np.meshgrid(np.radians(lon), np.radians(lat))
z = 40 * np.cos(y) - 10 + 6 * np.sin(3 * x) * np.cos(2 * y)
fig = plt.figure(figsize=(20 / 2.54, 9 / 2.54), layout="constrained")
for k, projection in enumerate([ccrs.Mollweide(), ccrs.NorthPolarStereo()]):
    ax = fig.add_subplot(1, 2, k + 1, projection=projection)
    if k == 1:
        ax.set_extent([-180, 180, 0, 90], ccrs.PlateCarree())
    bands = ax.contourf(lon, lat, z, transform=ccrs.PlateCarree())
    ax.contour(lon, lat, z, colors="black", transform=ccrs.PlateCarree())
    ax.gridlines(draw_labels=True)
    ax.set_title(["SURFACE TEMPERATURE (°C)", "NORTHERN HEMISPHERE"][k])
    fig.colorbar(bands, ax=ax, orientation=["horizontal", "vertical"][k])
fig.savefig("figure_global_field.pdf")
